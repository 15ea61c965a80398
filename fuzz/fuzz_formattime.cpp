// TCFormatTime with arbitrary format strings, times and buffer sizes. Input: time and
// reference (two doubles), the buffer size (one byte), then the format text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corekit80/foundation/TCFormatTime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 17)
        return 0;
    double time, reference;
    std::memcpy(&time, data, 8);
    std::memcpy(&reference, data + 8, 8);
    const int bufferSize = data[16];
    const std::string format(reinterpret_cast<const char*>(data) + 17, size - 17);

    TCFormatTime f(format.c_str());
    TCString whole;
    const int length = f.Format(whole, time, reference);
    if (length != whole.GetLength() || std::strlen(whole) > size_t(length))
        std::abort();

    // The cut text is a prefix of the whole one, terminated.
    std::vector<char> buffer(size_t(bufferSize) + 1, 'z');
    const int cut = f.Format(buffer.data(), bufferSize, time, reference);
    if (bufferSize == 0 ? cut != 0 || buffer[0] != 'z'
                        : cut != std::min(length, bufferSize - 1) || buffer[size_t(cut)] != 0 ||
                              std::memcmp(buffer.data(), whole, size_t(cut)) != 0)
        std::abort();

    TCArray<TCFormatTime::SystemType> systems;
    f.GetSystem(systems);
    (void)f.CalcDiffTimeLow(time, reference);
    return 0;
}
