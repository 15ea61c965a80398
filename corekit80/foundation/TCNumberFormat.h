#pragma once

// ftoa and its number formats.

#include "corekit80/types/TCExport.h"

// The number formats of ftoa, shared by every place where numbers become text.
enum StringFormat {
    SF_FIXED = 0,       // precision = number of decimals
    SF_SCIENTIFIC = 1,  // one digit, separator, precision decimals, "e+ddd"
    SF_SIGNIFICANT = 2, // precision = significant digits, fixed or scientific like "%g",
                        // trailing zeros of the fraction removed
    SF_AUTO = 3         // precision ignored: fixed for exponents -5..10, else 5 decimals
                        // scientific; trailing zeros removed
};

// Writes value as text into buffer (zero-terminated) and returns its length. comma
// selects ',' as decimal separator; the number is right-aligned in width characters
// and unit (may be null) is appended after it. All digits come from one 64-bit
// integer, so at most 18 significant digits are exact; further requested decimals are
// zeros. Text is the same in every locale. Non-finite values are written as "%f" does
// ("inf", "-nan"), without width or unit.
// No allocation. Callers reserve 1024 bytes: decimals are limited to 340 and width to
// 960, which leaves room for a unit of up to 60 characters.
TC_EXPORT int ftoa(double value, char* buffer, StringFormat format = SF_AUTO,
                   bool comma = false, const char* unit = nullptr, int width = 0,
                   int precision = 6);
