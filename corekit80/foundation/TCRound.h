#pragma once

// Round, Round0 and Round1: rounding to integers and decimals.

#include "corekit80/types/TCExport.h"

// Nearest integer, halves away from zero; saturates at the int range, NaN gives 0.
TC_EXPORT int Round(double v);
// v rounded to digits decimals (negative: tens, hundreds...), halves away from zero.
TC_EXPORT double Round(double v, int digits);
// v rounded down (towards -inf) to digits decimals.
TC_EXPORT double Round0(double v, int digits);
// v rounded up (towards +inf) to digits decimals.
TC_EXPORT double Round1(double v, int digits);
