// TCSI_Unit: arithmetic, comparison and the text form of physical units.
#include "corekit80/foundation/TCSI_Unit.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "corekit80/foundation/TCPowerOfTenImpl.h"
#include "corekit80/foundation/TCSI_Convert.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCMbcsImpl.h"
#include "corekit80/types/TCString.h"

namespace {

// Symbols 0 to 6 are the base units themselves, which the expression of exponents
// writes alike; the derived symbols start at "cd" so that it wins over "lm".
constexpr int kFirstNamedSymbol = 7;
// Powers of ten beyond these give 0 or infinity as a factor anyway.
constexpr long kMaxPowerOfTen = 400;

// log10(factor) truncated towards zero, taken from the table of powers of ten so that
// exact powers get their own exponent; 0 for a factor that is not finite or not
// above 0.
int FactorExponent(double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return 0;
    int e = TCDecimalExponent(factor);
    return factor >= 1 || TCPow10(e) == factor ? e : e + 1;
}

} // namespace

void TCSI_Unit::clear()
{
    factor = 1.0;
    std::memset(exponents, 0, sizeof exponents);
}

void TCSI_Unit::multiply(const TCSI_Unit& u)
{
    for (int i = 0; i < TCSI_BASE_UNITS; ++i)
        exponents[i] = static_cast<signed char>(exponents[i] + u.exponents[i]);
    factor *= u.factor;
}

void TCSI_Unit::divide(const TCSI_Unit& u)
{
    for (int i = 0; i < TCSI_BASE_UNITS; ++i)
        exponents[i] = static_cast<signed char>(exponents[i] - u.exponents[i]);
    factor /= u.factor;
}

bool TCSI_Unit::operator==(const TCSI_Unit& u) const
{
    return factor == u.factor && std::memcmp(exponents, u.exponents, sizeof exponents) == 0;
}

const char* TCSI_Unit::GetString(TCString& s) const
{
    for (int i = kFirstNamedSymbol; i < TCSI_SYMBOL_COUNT; ++i) {
        if (std::memcmp(exponents, TCSI_Symbols[i].exponents, sizeof exponents) == 0)
            return s += TCSI_Symbols[i].symbol;
    }
    bool any = false;
    for (int i = 0; i < TCSI_BASE_UNITS; ++i) {
        if (exponents[i] == 0)
            continue;
        s += TCSI_Symbols[i + 1].symbol;
        if (exponents[i] != 1)
            s.FormatAppend("^%d", exponents[i]);
        s += ' ';
        any = true;
    }
    if (any)
        s.SetLength(s.GetLength() - 1);  // the separator after the last symbol
    return s;
}

const char* TCSI_Unit::GetString(CString& s) const
{
    TCString text;
    GetString(text);
    s += static_cast<const char*>(text);
    return s;
}

const char* TCSI_Unit::ToString(TCString& s) const
{
    s.Empty();
    GetString(s);
    if (factor != 1.0) {
        if (s.IsEmpty())
            s = "1";
        s.FormatAppend(" * 1e%+04d", FactorExponent(factor));
    }
    return s;
}

bool TCSI_Unit::FromString(const char* text)
{
    clear();
    if (!text)
        text = "";
    const char* star = std::strchr(text, '*');
    const char* begin = text;
    const char* end = star ? star : text + std::strlen(text);
    while (begin < end && TCIsSpace(*begin))
        ++begin;
    while (end > begin && TCIsSpace(end[-1]))
        --end;

    bool dimensionless = begin == end || (end - begin == 1 && *begin == '1');
    if (!dimensionless && !TCSI_Convert().scan(TCString(begin, int(end - begin)), *this))
        return false;
    if (!star)
        return true;

    const char* power = std::strstr(star + 1, "1e");
    if (!power)
        return false;
    long n = std::strtol(power + 2, nullptr, 10);
    if (n > kMaxPowerOfTen)
        factor = HUGE_VAL;
    else
        factor = TCPow10(int(n < -kMaxPowerOfTen ? -kMaxPowerOfTen : n));
    return true;
}
