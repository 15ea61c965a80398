#pragma once

// Conversions of delimited texts into arrays of integers, doubles or strings.

#include "corekit80/types/CArray.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Conversions of delimited texts into arrays. Each empties the array first and returns
// the number of elements it holds afterwards; a null text gives an empty array.
//
// The number scanners pick decimal numbers out of any surrounding text: every run of
// digits gives one integer, with a sign directly before it ("1.5" gives 1 and 5).
// Doubles take an optional sign, digits with a decimal point and an exponent; with
// decimalComma every '.' is dropped and ',' becomes the point first. Hex, inf and nan
// are never read; integers beyond the int range are clamped.
TC_EXPORT int ConvertStringToIntArray(const char* text, CArray<int, int>& out);
TC_EXPORT int ConvertStringToIntArray(const char* text, TCArray<int, int>& out);
TC_EXPORT int ConvertStringToIntArray(const char* text, TCArray<int, const int&>& out);

TC_EXPORT int ConvertStringToDblArray(const char* text, CArray<double, double>& out,
                                      bool decimalComma);
TC_EXPORT int ConvertStringToDblArray(const char* text, TCArray<double, double>& out,
                                      bool decimalComma);
TC_EXPORT int ConvertStringToDblArray(const char* text, TCArray<double, const double&>& out,
                                      bool decimalComma);

// Splits at every occurrence of separator (found on character boundaries), keeping the
// separator at the end of each element when keepSeparator is set. Empty elements
// between separators stay; a trailing separator adds no empty element. An empty or
// null separator makes the whole text the only element.
TC_EXPORT int ConvertStringToStrArray(const char* text, CStringArray& out,
                                      const char* separator, bool keepSeparator);
TC_EXPORT int ConvertStringToStrArray(const char* text, CArray<CString, CString&>& out,
                                      const char* separator, bool keepSeparator);
TC_EXPORT int ConvertStringToStrArray(const char* text, TCArray<TCString, const TCString&>& out,
                                      const char* separator, bool keepSeparator);
