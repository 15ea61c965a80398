#pragma once

// The port data-type texts of codes as the bus channel names carry them. The serialize
// helpers keep their own small table: a channel only ever names one of the plain element
// types (or the type-information token in front of one). Texts become codes and are
// compared by the port type rules (TCPortHelper).
#include "corekit80/foundation/TCString.h"

namespace TCBusTypes {

constexpr unsigned long kTypeInfoBit = 0x4000000;
constexpr unsigned long kElementMask = 0xFFFFFF;

// The type text of code and its token count: "TYPEINFO{TypeInfo} " in front (count 2) for
// the type-information bit, then the text of the low 24 bits, or nothing for a code the
// table does not know.
TCString TextOfCode(unsigned long code, int& tokenCount);

} // namespace TCBusTypes
