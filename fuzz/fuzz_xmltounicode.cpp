// XMLToUnicode on any bytes, counted and zero-terminated: the result is well-formed
// UTF-16 with its zero unit, and the zero-terminated form reads up to the first zero byte.
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/foundation/TCTextUtil.h"

namespace {

void CheckUtf16(const TCString& out, const char16_t* r)
{
    if (static_cast<const void*>(r) != static_cast<const char*>(out) || out.GetLength() % 2 != 0 ||
        out.GetAllocLength() < out.GetLength() + 2)
        __builtin_trap();
    const int n = out.GetLength() / 2;
    if (r[n] != 0)
        __builtin_trap();
    for (int i = 0; i < n; ++i) {
        if (r[i] < 0xD800 || r[i] > 0xDFFF)
            continue;
        if (r[i] > 0xDBFF || i + 1 == n || r[i + 1] < 0xDC00 || r[i + 1] > 0xDFFF)
            __builtin_trap();  // lone surrogate
        ++i;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    TCString counted;
    CheckUtf16(counted, XMLToUnicode(counted, bytes, int(size)));

    const std::string text(bytes, size);
    TCString terminated, prefix;
    CheckUtf16(terminated, XMLToUnicode(terminated, text.c_str()));
    CheckUtf16(prefix, XMLToUnicode(prefix, bytes, int(std::strlen(text.c_str()))));
    if (terminated.GetLength() != prefix.GetLength() ||
        std::memcmp(static_cast<const char*>(terminated), static_cast<const char*>(prefix),
                    size_t(prefix.GetLength())) != 0)
        __builtin_trap();
    return 0;
}
