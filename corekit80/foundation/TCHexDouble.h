#pragma once

// Lossless hexadecimal text of doubles, and reading it or decimal text back.

#include "corekit80/types/TCExport.h"

// Exact text of v as [-]0xH.hhhhhhhhhhhhhp±E (as "%.13a" writes it): lossless storage of
// doubles. Needs size >= 25, else buffer becomes empty; non-finite values give "-1.#IND".
// Returns buffer.
TC_EXPORT char* DoubleToHexString(char* buffer, int size, const double& v);

// Reads the text of DoubleToHexString back bit-exact (13 digits or fewer, either case).
// Text that does not follow that form gives a NaN with the sign bit set, and end (when
// not null) is set to s; else end points after the exponent.
TC_EXPORT double HexString2Double(const char* s, char** end = nullptr);

// Reads decimal text like strtod in the "C" locale, or after leading white space and an
// optional sign, "0x" text like HexString2Double. Null s gives 0.
TC_EXPORT double StringToDouble(const char* s, char** end = nullptr);
