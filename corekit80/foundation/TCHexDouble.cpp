// Doubles as hexadecimal floating text and back, bit-exact; StringToDouble.
#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/types/TCMbcsImpl.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "corekit80/types/TCCLocaleImpl.h"

namespace {

constexpr uint64_t kSignBit = 1ull << 63;
constexpr uint64_t kMantissaMask = (1ull << 52) - 1;
// Longest text: "-0x1.0000000000000p+1023" and its terminator.
constexpr int kHexTextSize = 25;

// The value of a text that is not ours: a quiet NaN with the sign bit set.
double Unreadable(const char* s, char** end)
{
    if (end)
        *end = const_cast<char*>(s);
    return std::bit_cast<double>(0xFFF8000000000000ull);
}

// Decimal exponent as strtol reads it, with the magnitude capped far beyond any valid
// exponent. False when there is no digit.
bool ReadExponent(const char*& p, long& exponent)
{
    const char* q = p;
    while (TCIsSpace(*q))
        ++q;
    bool negative = *q == '-';
    if (*q == '+' || *q == '-')
        ++q;
    if (*q < '0' || *q > '9')
        return false;
    long magnitude = 0;
    for (; *q >= '0' && *q <= '9'; ++q)
        magnitude = std::min(magnitude * 10 + (*q - '0'), 1000000L);
    exponent = negative ? -magnitude : magnitude;
    p = q;
    return true;
}

} // namespace

char* DoubleToHexString(char* buffer, int size, const double& v)
{
    if (!buffer || size <= 0)
        return buffer;
    buffer[0] = '\0';
    if (size < kHexTextSize)
        return buffer;
    if (!std::isfinite(v)) {
        std::strcpy(buffer, "-1.#IND");
        return buffer;
    }
    uint64_t bits = std::bit_cast<uint64_t>(v);
    uint64_t mantissa = bits & kMantissaMask;
    int field = int(bits >> 52) & 0x7FF;
    char* p = buffer;
    if (bits & kSignBit)
        *p++ = '-';
    *p++ = '0';
    *p++ = 'x';
    int exponent;
    if (field == 0) {
        *p++ = '0';
        exponent = mantissa == 0 ? 0 : -1022;
    } else {
        *p++ = '1';
        exponent = field - 1023;
    }
    *p++ = '.';
    for (int shift = 48; shift >= 0; shift -= 4)
        *p++ = "0123456789abcdef"[(mantissa >> shift) & 15];
    *p++ = 'p';
    *p++ = exponent < 0 ? '-' : '+';
    unsigned magnitude = unsigned(exponent < 0 ? -exponent : exponent);
    char digits[4];
    int n = 0;
    do {
        digits[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n > 0)
        *p++ = digits[--n];
    *p = '\0';
    return buffer;
}

double HexString2Double(const char* s, char** end)
{
    if (!s)
        return Unreadable(s, end);
    const char* p = s;
    uint64_t bits = 0;
    if (*p == '+' || *p == '-')
        bits = *p++ == '-' ? kSignBit : 0;
    if (p[0] != '0' || (p[1] != 'x' && p[1] != 'X'))
        return Unreadable(s, end);
    p += 2;
    if ((*p != '0' && *p != '1') || p[1] != '.')
        return Unreadable(s, end);
    bool normal = *p == '1';
    p += 2;
    // 13 digits at most, filling the 52 mantissa bits from the top.
    uint64_t mantissa = 0;
    for (int shift = 48; shift >= 0; shift -= 4, ++p) {
        int digit = TCHexDigitValue(*p);
        if (digit < 0)
            break;
        mantissa |= uint64_t(digit) << shift;
    }
    if (*p != 'p' && *p != 'P')
        return Unreadable(s, end);
    ++p;
    long exponent;
    if (!ReadExponent(p, exponent))
        return Unreadable(s, end);
    long field = normal ? exponent + 1023 : exponent == 0 ? 0 : exponent + 1022;
    if (field < 0 || field > 2046)
        return Unreadable(s, end);
    if (end)
        *end = const_cast<char*>(p);
    return std::bit_cast<double>(bits | uint64_t(field) << 52 | mantissa);
}

double StringToDouble(const char* s, char** end)
{
    if (!s) {
        if (end)
            *end = nullptr;
        return 0.0;
    }
    const char* p = s;
    while (TCIsSpace(*p))
        ++p;
    const char* q = p + (*p == '+' || *p == '-');
    if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X')) {
        char* stop;
        double v = HexString2Double(p, &stop);
        if (end)
            *end = stop == p ? const_cast<char*>(s) : stop;
        return v;
    }
    return strtod_l(s, end, TCCLocale());
}
