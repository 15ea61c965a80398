// Rounding of doubles: to integers, to decimals, downwards and upwards.
#include "corekit80/foundation/TCRound.h"

#include <climits>
#include <cmath>

#include "corekit80/foundation/TCPowerOfTenImpl.h"

int Round(double v)
{
    double r = std::trunc(v >= 0 ? v + 0.5 : v - 0.5);
    if (std::isnan(r))
        return 0;
    if (r >= double(INT_MAX))
        return INT_MAX;
    if (r <= double(INT_MIN))
        return INT_MIN;
    return int(r);
}

double Round(double v, int digits)
{
    double f = TCPow10(digits);
    return v >= 0 ? std::floor(v * f + 0.5) / f : std::ceil(v * f - 0.5) / f;
}

double Round0(double v, int digits)
{
    double f = TCPow10(digits);
    return std::floor(v * f) / f;
}

double Round1(double v, int digits)
{
    double f = TCPow10(digits);
    return std::ceil(v * f) / f;
}
