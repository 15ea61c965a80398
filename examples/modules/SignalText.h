#pragma once

// SignalText, the texts of a signal as the writers put them into their files.

#include <corekit80/foundation/TCSI_Unit.h>
#include <corekit80/types/TCString.h>

namespace SignalText {

// The unit as text ("V", "m s^-2", "V * 1e-003" for a factor); empty when dimensionless.
TCString Unit(const TCSI_Unit& unit);
// The text on one line: line breaks and other control characters become blanks.
TCString Line(const char* text);
// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line
// break.
TCString CsvField(const char* text);
// Text for XML content and attribute values, on one line; a byte that is not part of a
// well-formed UTF-8 character becomes '?', so that the file always parses.
TCString Xml(const char* text);

}  // namespace SignalText
