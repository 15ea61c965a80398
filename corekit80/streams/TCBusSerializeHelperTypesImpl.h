#pragma once

// The port data-type texts and codes as the bus channel names carry them. The serialize
// helpers keep their own small table: a channel only ever names one of the plain element
// types (or the type-information token in front of one).
#include "corekit80/foundation/TCString.h"

namespace TCBusTypes {

constexpr unsigned long kTypeInfoBit = 0x4000000;
constexpr unsigned long kElementMask = 0xFFFFFF;

// The type text of code and its token count: "TYPEINFO{TypeInfo} " in front (count 2) for
// the type-information bit, then the text of the low 24 bits, or nothing for a code the
// table does not know.
TCString TextOfCode(unsigned long code, int& tokenCount);

// The code of a type text with tokenCount tokens: the first token after the
// type-information token decides; a text of several type tokens keeps only the high bits.
unsigned long CodeOfText(int tokenCount, const char* text);

// Whether the two type texts name compatible token sets: equal token names (an empty
// bracket pair matches any number), and equal declarators for POINTER tokens.
bool TextsMatch(const char* ownText, int ownCount, const char* otherText, int otherCount);

} // namespace TCBusTypes
