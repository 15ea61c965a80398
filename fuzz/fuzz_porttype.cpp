// Port type texts: splitting into tokens, comparing, classifying and adopting them with
// any token counts. The input is two 16-bit token counts, a flag byte, then the own type
// text and, after a line feed, the offered one.
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/porttypes/TCPortDataTypeImpl.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

namespace {

using DATATYPE = TCPortDataType;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool TokensMatch(const char* own, int ownCount, const char* offered, int offeredCount)
{
    TCValidateActualPortType v;
    v.FillValidation(ownCount, own);
    v.ParsingPortType(offered, offeredCount);
    return v.ValidateTokenSet(nullptr, true);
}

void CheckFindType(const char* text, int count)
{
    bool single = false;
    const uint32_t code = DATATYPE::FindType(text, count, &single);
    Check((code & ~0x770003FFu) == 0);
    if (!single)
        Check((code & 0x1000000) != 0);
    int n = 0;
    const TCString shown = DATATYPE::GetTypeStr(code, text, &n);
    Check(n == 1 || n == 2);
}

// The own side's text, split and joined again, splits into the same tokens.
void CheckOwnSide(const char* text, int count)
{
    TCValidateActualPortType v;
    v.FillValidation(count, text);
    const int n = v.GetNoOfInternalPortToken();
    Check(n >= 0 && n <= (count > 0 ? count : 0) && n <= int(std::strlen(text)) + 1);
    const CString joined(v.GetInternalPortType());
    TCValidateActualPortType again;
    again.FillValidation(n, joined);
    Check(again.GetNoOfInternalPortToken() == n && joined == again.GetInternalPortType());
    for (int i = 0; i < n; ++i) {
        CString a, b, c, d;
        Check(v.GetInternalToken(i, a, b) && again.GetInternalToken(i, c, d) && a == c && b == d);
    }
    if (n > 0)
        Check(TokensMatch(joined, n, joined, n));
}

void CheckDataType(const char* own, int ownCount, const char* offered, int offeredCount, uint8_t flags)
{
    DATATYPE t;
    if (flags & 1) {
        t.ParseType(own, offered, flags & 2);
        t.AddMultitype(offered, own);
    } else {
        Check(t.ParseType(own, ownCount) == (*own && ownCount > 0));
    }
    if (flags & 4)
        t.AddLine(ownCount);
    t.ValidatePortType(offered, offeredCount, "Fuzz");
    int n = -1;
    const char* shown = t.GetPortType(&n);
    Check(n >= 0 && (shown != nullptr || n == 0));
    DATATYPE copy(t);
    Check(static_cast<unsigned long>(copy) == static_cast<unsigned long>(t));
}

void CheckQuote(const uint8_t* data, size_t size)
{
    CString text(reinterpret_cast<const char*>(data), int(size));
    TCValidationQuote(text);
    TCValidationUnQuote(text);
    Check(text.GetLength() == int(size) && std::memcmp(text.GetString(), data, size) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5 || size > 4096)
        return 0;
    const int ownCount = int16_t(data[0] | data[1] << 8);
    const int offeredCount = int16_t(data[2] | data[3] << 8);
    const uint8_t flags = data[4];
    const std::string rest(reinterpret_cast<const char*>(data + 5), size - 5);
    const size_t split = rest.find('\n');
    const std::string ownText = rest.substr(0, split);
    const std::string offeredText = split == std::string::npos ? std::string() : rest.substr(split + 1);
    const char* own = ownText.c_str();
    const char* offered = offeredText.c_str();

    CheckFindType(own, ownCount);
    CheckFindType(offered, offeredCount);
    CheckOwnSide(own, ownCount);
    CheckOwnSide(offered, offeredCount);
    // The token check does not depend on which side is whose.
    Check(TokensMatch(own, ownCount, offered, offeredCount) == TokensMatch(offered, offeredCount, own, ownCount));
    CheckDataType(own, ownCount, offered, offeredCount, flags);
    CheckQuote(data, size);
    return 0;
}
