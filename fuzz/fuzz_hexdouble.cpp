// HexString2Double on any text; whatever it accepts must come back from
// DoubleToHexString as the same bits. The first 8 bytes as a double must print like
// "%.13a".
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "corekit80/foundation/TCHexDouble.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string in(reinterpret_cast<const char*>(data), size);
    const char* s = in.c_str();
    char* end = nullptr;
    double v = HexString2Double(s, &end);
    if (end < s || end > s + std::strlen(s))
        __builtin_trap();
    char text[32], theirs[32];
    if (end != s) {
        if (std::isnan(v))
            __builtin_trap();
        DoubleToHexString(text, sizeof text, v);
        if (std::bit_cast<uint64_t>(HexString2Double(text)) != std::bit_cast<uint64_t>(v))
            __builtin_trap();
    } else if (!std::isnan(v) || !std::signbit(v)) {
        __builtin_trap();
    }

    if (size >= 8) {
        uint64_t bits;
        std::memcpy(&bits, data, 8);
        double d = std::bit_cast<double>(bits);
        DoubleToHexString(text, sizeof text, d);
        if (std::isfinite(d)) {
            std::snprintf(theirs, sizeof theirs, "%.13a", d);
            if (std::strcmp(text, theirs) != 0)
                __builtin_trap();
        }
    }
    return 0;
}
