#pragma once

// Powers of ten for the number formatting and rounding code of the library.

// 10^e for e = -324..308 at index e + 324, each the double nearest to the exact power
// (written as decimal literals: pow() is not correctly rounded). 10^-324 is 0.
extern const double g_tcPowersOfTen[633];

// 10^e with e clamped into the table: below -324 gives 0, above 308 gives 1e308.
inline double TCPow10(int e)
{
    return g_tcPowersOfTen[e < -324 ? 0 : e > 308 ? 632 : e + 324];
}

// The decimal exponent of a finite x >= 0: the largest e with TCPow10(e) <= x, so that
// exact powers of ten get their own exponent; 0 for x = 0.
int TCDecimalExponent(double x);
