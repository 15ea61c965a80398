#pragma once

// The number scanners and the splitter behind the array conversions.

#include <string_view>
#include <vector>

// The scanners behind the array conversions, free of any array type.

// The integers of text in order (nothing for null).
void TCScanInts(const char* text, std::vector<int>& out);
// The doubles of text in order (nothing for null).
void TCScanDoubles(const char* text, bool decimalComma, std::vector<double>& out);
// The elements of text split at separator (see ConvertStringToStrArray).
void TCSplitText(const char* text, const char* separator, bool keepSeparator,
                 std::vector<std::string_view>& out);
