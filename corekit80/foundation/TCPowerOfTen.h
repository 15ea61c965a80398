#pragma once

// ExpMul and ExpDiv: scaling by powers of ten without needless overflow or underflow.

#include "corekit80/types/TCExport.h"

// v × 10^e and v ÷ 10^e with correctly rounded powers of ten, in steps that stay within
// the range of doubles where possible (so 5e-324 × 10^330 is not lost to underflow).
TC_EXPORT double ExpMul(double v, int e);
TC_EXPORT double ExpDiv(double v, int e);
