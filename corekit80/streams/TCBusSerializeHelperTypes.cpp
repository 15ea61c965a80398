#include "corekit80/streams/TCBusSerializeHelperTypesImpl.h"

namespace {

constexpr const char* kTypeInfoToken = "TYPEINFO{TypeInfo}";

struct Entry {
    unsigned long code;
    const char* text;
};
const Entry kEntries[] = {
    {0x1, "SWORD{BIN}"},           {0x2, "SWORD[1]{BIN}"},      {0x4, "SWORD[]{BIN}"},
    {0x8, "POINTER{SWORD[][]}"},   {0x10, "DOUBLE{SCALAR}"},    {0x20, "DOUBLE[1]{SCALAR}"},
    {0x40, "DOUBLE[]{TIME_DOMAIN}"}, {0x80, "POINTER{DOUBLE[][]}"}, {0x100, "UBYTE[]{Text}"},
    {0x200, "UBYTE[][]{Text}"},
};

} // namespace

TCString TCBusTypes::TextOfCode(unsigned long code, int& tokenCount)
{
    TCString text;
    tokenCount = 1;
    if (code & kTypeInfoBit) {
        text = kTypeInfoToken;
        text += ' ';
        tokenCount = 2;
    }
    for (const Entry& e : kEntries)
        if (e.code == (code & kElementMask))
            text += e.text;
    return text;
}
