// StringToDouble on any text; the value read is then written by ftoa in every format
// (which must fit the caller's 1024 bytes) and 17 significant digits read back close.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCNumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string in(reinterpret_cast<const char*>(data), size);
    const char* s = in.c_str();
    char* end = nullptr;
    double v = StringToDouble(s, &end);
    if (end < s || end > s + std::strlen(s))
        __builtin_trap();

    // Format arguments from the last bytes, so that the fuzzer steers them too.
    int precision = size > 1 ? int(int16_t(data[size - 1] << 8 | data[size - 2])) : 6;
    int width = size > 2 ? int8_t(data[size - 3]) * 8 : 0;
    char text[1024];
    for (int f = SF_FIXED; f <= SF_AUTO; ++f) {
        int n = ftoa(v, text, StringFormat(f), (precision & 1) != 0, " V", width, precision);
        if (n < 0 || n >= int(sizeof text) || size_t(n) != std::strlen(text))
            __builtin_trap();
    }
    if (std::isfinite(v)) {
        ftoa(v, text, SF_SCIENTIFIC, false, nullptr, 0, 16);
        double back = StringToDouble(text);
        if (std::fabs(back - v) > std::fabs(v) * 1e-15)
            __builtin_trap();
    }
    return 0;
}
