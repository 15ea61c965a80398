// ftoa: fixed, exponential and automatic number text from one 64-bit integer of digits.
#include "corekit80/foundation/TCNumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "corekit80/foundation/TCPowerOfTen.h"
#include "corekit80/foundation/TCPowerOfTenImpl.h"

namespace {

// Keep the longest text (sign, 309 integer digits, separator, decimals, exponent,
// padding) within the 1024 bytes that callers reserve.
constexpr int kMaxDecimals = 340;
constexpr int kMaxWidth = 960;
// Digits computed after the leading one: the digits come from one 64-bit integer.
constexpr int kDigits = 17;

constexpr uint64_t kPowersOfTen[19] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull,
    100000000ull, 1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull,
    10000000000000ull, 100000000000000ull, 1000000000000000ull, 10000000000000000ull,
    100000000000000000ull, 1000000000000000000ull};

// x × 10^s + 0.5, truncated: the digits of x as an integer, rounded half up.
uint64_t ScaledDigits(double x, int s)
{
    return static_cast<uint64_t>(static_cast<int64_t>(ExpMul(x, s) + 0.5));
}

struct Layout {
    bool scientific;
    int decimals;
    bool strip;  // trailing zeros of the fraction are dropped
};

// The notation and number of decimals for x with decimal exponent e.
Layout Resolve(StringFormat format, int precision, int e)
{
    switch (format) {
    case SF_FIXED:
        return {false, precision, false};
    case SF_SCIENTIFIC:
        return {true, std::max(precision, 0), false};
    case SF_SIGNIFICANT: {
        bool fixed = (precision == 0 && e == 0) || (e >= -4 && e < precision);
        int decimals = fixed ? std::max(precision, 1) - e - 1 : precision - 1;
        return {!fixed, std::clamp(decimals, 0, 16), true};
    }
    default:  // SF_AUTO
        if (e >= -5 && e <= 10)
            return {false, 9 - std::clamp(e, 0, 9), true};
        return {true, 5, true};
    }
}

} // namespace

int ftoa(double value, char* buffer, StringFormat format, bool comma, const char* unit,
         int width, int precision)
{
    if (!std::isfinite(value))
        return std::snprintf(buffer, 8, "%f", value);

    bool negative = value < 0;  // -0.0 is written without sign
    double x = std::fabs(value);
    int e = TCDecimalExponent(x);
    // Beyond this range precision makes no difference (e is within -324..308), and
    // the arithmetic below stays clear of overflow.
    Layout layout = Resolve(format, std::clamp(precision, -1000, 1000), e);
    int d = std::clamp(layout.decimals, -kMaxDecimals, kMaxDecimals);
    width = std::clamp(width, 0, kMaxWidth);

    uint64_t N;
    int n;      // fraction digits taken from N; negative: zeros after N's digits
    int zeros;  // requested decimals beyond the computed ones
    if (!layout.scientific) {
        n = std::min(d, kDigits - e);
        N = ScaledDigits(x, n);
        zeros = n >= 0 ? d - n : d;
    } else {
        n = std::min(d, kDigits);
        int k = d - e - std::max(0, d - kDigits);
        N = ScaledDigits(x, k);
        if (N >= kPowersOfTen[n + 1]) {
            // Rounding carried into a new digit (9.99 -> 10.0).
            ++e;
            N = ScaledDigits(x, k - 1);
        } else if (N != 0 && N < kPowersOfTen[n]) {
            // The table's 10^e lies below the exact power (subnormal powers are coarse),
            // so x has one digit less than its exponent claims.
            --e;
            N = ScaledDigits(x, k + 1);
        }
        zeros = d - kDigits;
        width -= 5;  // the exponent part
    }

    // Built backwards from the least significant character.
    char text[kMaxWidth + 64];
    char* const textEnd = text + sizeof text;
    char* p = textEnd;
    if (!layout.strip)
        for (int i = 0; i < zeros; ++i)
            *--p = '0';
    bool dropping = layout.strip;
    for (int i = 0; i < n; ++i) {
        char digit = char('0' + N % 10);
        N /= 10;
        if (dropping && digit == '0')
            continue;
        dropping = false;
        *--p = digit;
    }
    if (p != textEnd)
        *--p = comma ? ',' : '.';
    if (N == 0) {
        *--p = '0';
    } else {
        for (int i = n; i < 0; ++i)
            *--p = '0';
        do {
            *--p = char('0' + N % 10);
            N /= 10;
        } while (N != 0);
    }
    if (negative)
        *--p = '-';
    while (textEnd - p < width)
        *--p = ' ';

    char* out = buffer;
    std::memcpy(out, p, size_t(textEnd - p));
    out += textEnd - p;
    if (layout.scientific) {
        unsigned magnitude = unsigned(e < 0 ? -e : e);
        *out++ = 'e';
        *out++ = e < 0 ? '-' : '+';
        *out++ = char('0' + magnitude / 100);
        *out++ = char('0' + magnitude / 10 % 10);
        *out++ = char('0' + magnitude % 10);
    }
    if (unit) {
        size_t length = std::strlen(unit);
        std::memcpy(out, unit, length);
        out += length;
    }
    *out = '\0';
    return int(out - buffer);
}
