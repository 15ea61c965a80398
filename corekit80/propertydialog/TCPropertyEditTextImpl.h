#pragma once

// Reading the edits a dialog host is given: "PATH = VALUE" and the values' parts.

#include <cstdint>
#include <vector>

#include "corekit80/types/TCString.h"

// Splits an edit into the captions of its path and its value (see TCPropertyDialogHost);
// false with the reason in error.
bool TCPropertyParseEdit(const char* edit, std::vector<TCString>& path, TCString& value, TCString& error);

// Readers of one part of a value at text, which they move past it and the blanks after
// it; false, with text unmoved, when the part is not there.
// A text in double quotes with the escapes of the text form (\" \\ \n \r \t \xHH).
bool TCPropertyReadQuoted(const char*& text, TCString& out);
// A quoted text, or else the text up to the next blank.
bool TCPropertyReadWord(const char*& text, TCString& out);
// An integer, decimal or hexadecimal after "0x", within min .. max.
bool TCPropertyReadInteger(const char*& text, int64_t min, int64_t max, int64_t& out);
// A finite number in the "C" locale's form.
bool TCPropertyReadNumber(const char*& text, double& out);
