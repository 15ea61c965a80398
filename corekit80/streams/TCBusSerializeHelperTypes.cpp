#include <cstdlib>
#include <cstring>

#include "corekit80/platform/TCMbcsImpl.h"
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

struct Base {
    const char* name;
    unsigned long code;
};
const Base kBases[] = {
    {"SWORD", 0x1},       {"SWORD[1]", 0x2},      {"SWORD[]", 0x4},     {"DOUBLE", 0x10},
    {"DOUBLE[1]", 0x20},  {"DOUBLE[]", 0x40},     {"UBYTE[]", 0x100},   {"UBYTE[][]", 0x200},
    {"STRUCT_BUS", 0x1000000}, {"MultiType", 0x1000000}, {"EXT/DB", 0x1000000},
    {"POINTER[]", 0x20000000},
};

TCString Trimmed(const char* text)
{
    TCString s(text ? text : "");
    s.TrimLeft();
    s.TrimRight();
    return s;
}

// The text before the first stop character; text moves past it and its leading blanks.
TCString Extract(TCString& text, char stop)
{
    int i = text.Find(stop);
    TCString part = i < 0 ? text : text.Left(i);
    text = i < 0 ? TCString() : text.Mid(i + 1);
    text.TrimLeft();
    return part;
}

// Token names equal except inside brackets, where an empty pair matches any number.
bool NamesMatch(const char* a, const char* b)
{
    while (*a && *b) {
        if (*a == '[' && *b == '[') {
            ++a, ++b;
            bool emptyA = *a == ']', emptyB = *b == ']';
            char* endA;
            char* endB;
            long na = std::strtol(a, &endA, 10), nb = std::strtol(b, &endB, 10);
            if (!emptyA && !emptyB && (endA == a || endB == b || na != nb))
                return false;
            a = emptyA ? a : endA;
            b = emptyB ? b : endB;
            if (*a != ']' || *b != ']')
                return false;
        } else if (*a != *b) {
            return false;
        }
        ++a, ++b;
    }
    return *a == *b;
}

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

unsigned long TCBusTypes::CodeOfText(int tokenCount, const char* text)
{
    TCString s(text ? text : "");
    unsigned long code = 0;
    int info = s.Find(kTypeInfoToken);
    if (info >= 0) {
        code |= kTypeInfoBit;
        s = s.Mid(info + int(std::strlen(kTypeInfoToken)));
        --tokenCount;
    }
    s = Trimmed(s);
    int brace = s.Find('{');
    if (brace < 0) {
        code |= 0x2000000; // no base name: not defined yet
    } else {
        TCString base = s.Left(brace), rest = s.Mid(brace + 1);
        int close = rest.Find('}');
        TCString declarator = close < 0 ? TCString() : rest.Left(close);
        unsigned long baseCode = base.IsEmpty() ? 0x2000000 : 0x40000000;
        for (const Base& b : kBases)
            if (base == b.name)
                baseCode = b.code;
        if (base == "POINTER")
            baseCode = declarator == "SWORD[][]"    ? 0x10000008
                       : declarator == "DOUBLE[][]" ? 0x10000080
                                                    : 0x10000000;
        code |= baseCode;
    }
    if (tokenCount != 1)
        code &= ~kElementMask;
    return code;
}

bool TCBusTypes::TextsMatch(const char* ownText, int ownCount, const char* otherText, int otherCount)
{
    if (ownCount <= 0 && otherCount <= 0)
        return false;
    TCString own = Trimmed(ownText), other = Trimmed(otherText);
    bool match = true;
    for (int i = 0; i < ownCount && i < otherCount; ++i) {
        TCString ownToken = Extract(own, '{'), ownDecl = Extract(own, '}');
        TCString otherToken = Extract(other, '{'), otherDecl = Extract(other, '}');
        if (ownToken == otherToken) {
            if (ownToken.Find("POINTER") >= 0 && ownDecl != otherDecl)
                match = false;
        } else if (!NamesMatch(ownToken, otherToken)) {
            match = false;
        }
    }
    return match;
}
