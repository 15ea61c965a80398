// The delimited-text conversions on any text: every element count matches the array.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corekit80/archive/ConvertStringToArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the separator length and the flags; the rest is the text.
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    text = text.c_str();
    size_t sepLength = data[0] % 4;
    std::string separator = text.substr(0, sepLength);
    CArray<int, int> ints;
    TCArray<double, double> doubles;
    TCArray<TCString, const TCString&> parts;
    if (ConvertStringToIntArray(text.c_str(), ints) != ints.GetSize() ||
        ConvertStringToDblArray(text.c_str(), doubles, data[0] & 0x10) != doubles.GetSize() ||
        ConvertStringToStrArray(text.c_str(), parts, separator.c_str(), data[0] & 0x20) !=
            parts.GetSize())
        std::abort();
    // Split pieces put back together give the text again when they keep their separator.
    if ((data[0] & 0x20) && !separator.empty()) {
        std::string joined;
        for (int i = 0; i < parts.GetSize(); ++i)
            joined.append(parts[i], size_t(parts[i].GetLength()));
        if (joined != text)
            std::abort();
    }
    return 0;
}
