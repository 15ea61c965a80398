// Code-page conversion of arbitrary bytes: the first byte picks the code page; the
// sized call must agree with the counting call, and UTF-8 that converts without
// replacement characters must come back byte for byte.
#include "corekit80/types/TCCodePage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const unsigned kPages[] = {TC_CP_UTF8, 1252, 28591, 932, 936, 1200, 1201, 65000, 12345};
    if (size < 1 || size > 65536)
        return 0;
    const unsigned page = kPages[data[0] % (sizeof kPages / sizeof kPages[0])];
    const char* text = reinterpret_cast<const char*>(data + 1);
    const int n = int(size - 1);

    const int units = TCMultiByteToWideChar(page, text, n, nullptr, 0);
    if (units < 0)
        return 0;
    if (units > n)
        std::abort(); // never more units than bytes
    std::vector<char16_t> wide(size_t(units) + 1);
    if (TCMultiByteToWideChar(page, text, n, wide.data(), units) != units)
        std::abort();

    const int bytes = TCWideCharToMultiByte(page, wide.data(), units, nullptr, 0);
    if (bytes < 0)
        return 0;
    std::vector<char> back(size_t(bytes) + 1);
    if (TCWideCharToMultiByte(page, wide.data(), units, back.data(), bytes) != bytes)
        std::abort();
    bool replaced = false;
    for (int i = 0; i < units; ++i)
        replaced |= wide[size_t(i)] == 0xFFFD;
    if (page == TC_CP_UTF8 && !replaced && (bytes != n || std::memcmp(back.data(), text, size_t(n)) != 0))
        std::abort();
    return 0;
}
