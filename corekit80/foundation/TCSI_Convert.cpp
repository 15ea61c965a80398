// TCSI_Convert: reading unit symbols and their powers into a TCSI_Unit.
#include "corekit80/foundation/TCSI_Convert.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "corekit80/foundation/TCSI_Unit.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

constexpr int kMaxExponent = 10;
constexpr int kMaxSymbolLength = 3;  // "mol", "Ohm"

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsExponentChar(char c) { return TCIsDigit(c) || c == '-'; }

const char* SkipSpace(const char* p)
{
    while (TCIsSpace(*p))
        ++p;
    return p;
}

// Reads the exponent run [p, end) of digits and '-' as a whole decimal integer in
// -10..10.
bool ReadExponent(const char* p, const char* end, int& value)
{
    errno = 0;
    char* stop = nullptr;
    long v = std::strtol(p, &stop, 10);
    if (stop != end || p == end || errno == ERANGE || v < -kMaxExponent || v > kMaxExponent)
        return false;
    value = int(v);
    return true;
}

} // namespace

void TCSI_Convert::clear()
{
    m_index = 0;
    std::memset(m_exponents, 0, sizeof m_exponents);
}

int TCSI_Convert::String2Token(const char* symbol)
{
    clear();
    if (!symbol)
        return -1;
    for (int i = 0; i < TCSI_SYMBOL_COUNT; ++i) {
        if (std::strcmp(TCSI_Symbols[i].symbol, symbol) == 0) {
            m_index = i;
            std::memcpy(m_exponents, TCSI_Symbols[i].exponents, sizeof m_exponents);
            return i;
        }
    }
    return -1;
}

void TCSI_Convert::Token2SI(char exponent)
{
    for (int i = 0; i < TCSI_BASE_UNITS; ++i)
        m_exponents[i] = static_cast<signed char>(TCSI_Symbols[m_index].exponents[i] * exponent);
}

void TCSI_Convert::GetSI(TCSI_Unit& unit) const
{
    std::memcpy(unit.exponents, m_exponents, sizeof m_exponents);
}

// Adds the current symbol's exponents to unit, refusing sums outside 8 bits.
bool TCSI_Convert::Apply(TCSI_Unit& unit) const
{
    int sum[TCSI_BASE_UNITS];
    for (int i = 0; i < TCSI_BASE_UNITS; ++i) {
        sum[i] = unit.exponents[i] + m_exponents[i];
        if (sum[i] < -128 || sum[i] > 127)
            return false;
    }
    for (int i = 0; i < TCSI_BASE_UNITS; ++i)
        unit.exponents[i] = static_cast<signed char>(sum[i]);
    return true;
}

bool TCSI_Convert::scan(const char* text, TCSI_Unit& unit)
{
    unit.clear();
    clear();
    const char* p = text ? text : "";
    for (;;) {
        p = SkipSpace(p);
        if (*p == 0)
            return true;
        if (!IsLetter(*p))
            return false;

        const char* start = p;
        while (IsLetter(*p))
            ++p;
        char symbol[kMaxSymbolLength + 1];
        if (p - start > kMaxSymbolLength)
            return false;
        std::memcpy(symbol, start, p - start);
        symbol[p - start] = 0;
        if (String2Token(symbol) < 0)
            return false;

        int exponent = 1;
        const char* q = SkipSpace(p);
        if (*q == '^') {
            q = SkipSpace(q + 1);
            const char* end = q;
            while (IsExponentChar(*end))
                ++end;
            if (!ReadExponent(q, end, exponent))
                return false;
            p = end;
        }
        Token2SI(char(exponent));
        if (!Apply(unit))
            return false;
    }
}
