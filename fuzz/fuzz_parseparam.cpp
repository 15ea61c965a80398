// ParseParam, GetLine and GetNumber on any text. The input is the name, a zero byte,
// then the text.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/foundation/TCTextUtil.h"
#include "corekit80/types/CString.h"

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

void CheckNumber(const char* text, size_t length, int base)
{
    const char* p = text;
    GetNumber(p, base);
    if (p < text || p > text + length)
        __builtin_trap();
    p = text;
    GetNumberU(p, base);
    if (p < text || p > text + length)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string name = input.substr(0, split);
    const std::string text = split == std::string::npos ? std::string() : input.substr(split + 1).c_str();

    TCString value;
    if (ParseParam(text.c_str(), name.c_str(), value)) {
        const int n = value.GetLength();
        if (n > int(text.size()) || std::memchr(static_cast<const char*>(value), '\n', size_t(n)) ||
            (n > 0 && (IsSpace(value[0]) || IsSpace(value[n - 1]))))
            __builtin_trap();
    }
    const int maxLength = int(size % 7) - 2;
    TCString limited;
    CString cvalue;
    const bool found = ParseParam(text.c_str(), name.c_str(), limited, maxLength);
    if (found != ParseParam(text.c_str(), name.c_str(), cvalue, maxLength) ||
        (maxLength >= 0 && limited.GetLength() > maxLength) || limited.GetLength() != cvalue.GetLength())
        __builtin_trap();
    int i = 0;
    double d = 0;
    ParseParam(text.c_str(), name.c_str(), i);
    ParseParam(text.c_str(), name.c_str(), d);

    for (const char* line = text.c_str(); (line = GetLine(line));)
        if (line <= text.c_str() || line >= text.c_str() + text.size() || IsSpace(*line))
            __builtin_trap();
    for (int base : {0, 10, 16, int(size % 40) - 2})
        CheckNumber(text.c_str(), text.size(), base);
    return 0;
}
