// XMLToUnicode on any bytes, counted and zero-terminated: the result is well-formed
// UTF-16 with its zero unit, and the zero-terminated form reads up to the first zero byte.
// Text read through a UTF-16 byte-order mark keeps its zero unit inside the length, which
// is then the input's byte count (made even).
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/foundation/TCTextUtil.h"

namespace {

bool HasUtf16Mark(const char* bytes, size_t size)
{
    return size >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

// in and size: what XMLToUnicode read.
void CheckUtf16(const TCString& out, const char16_t* r, const char* in, size_t size)
{
    if (static_cast<const void*>(r) != static_cast<const char*>(out) || out.GetLength() % 2 != 0 ||
        out.GetAllocLength() < out.GetLength())
        __builtin_trap();
    int n = out.GetLength() / 2;
    if (HasUtf16Mark(in, size)) {
        if (size_t(out.GetLength()) != size + size % 2 || n == 0)
            __builtin_trap();
        --n;
    } else if (out.GetAllocLength() < out.GetLength() + 2) {
        __builtin_trap();
    }
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
    CheckUtf16(counted, XMLToUnicode(counted, bytes, int(size)), bytes, size);

    const std::string text(bytes, size);
    const size_t length = std::strlen(text.c_str());
    TCString terminated, prefix;
    CheckUtf16(terminated, XMLToUnicode(terminated, text.c_str()), bytes, length);
    CheckUtf16(prefix, XMLToUnicode(prefix, bytes, int(length)), bytes, length);
    if (terminated.GetLength() != prefix.GetLength() ||
        std::memcmp(static_cast<const char*>(terminated), static_cast<const char*>(prefix),
                    size_t(prefix.GetLength())) != 0)
        __builtin_trap();
    return 0;
}
