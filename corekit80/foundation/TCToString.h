#pragma once

// ToString, ToStaticString and itoh: small numbers as text.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Lower-case hexadecimal digits of v without leading zeros ("0" for 0); buffer needs 9
// bytes. Returns buffer.
TC_EXPORT char* itoh(char* buffer, unsigned int v);

// Decimal text of v.
TC_EXPORT TCString ToString(int v);
// Decimal text of v in a buffer that the next call on the same thread overwrites.
TC_EXPORT const char* ToStaticString(int v);
// "true" or "false".
TC_EXPORT const char* ToString(bool v);
