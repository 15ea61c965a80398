#pragma once

// TCSI_Convert, the reader of unit expressions such as "kg m^2 s^-2".

#include "corekit80/foundation/TCSI_Symbols.h"
#include "corekit80/types/TCExport.h"

class TCSI_Unit;

// Reads unit expressions: symbols of TCSI_Symbols separated by white space, each
// optionally raised to a power with '^' ("kg m^2 s^-2", "m ^ -1").
class TC_EXPORT TCSI_Convert {
public:
    TCSI_Convert() { clear(); }

    // Reads text into the unit's exponents; the factor becomes 1.0. A symbol's
    // exponent lies in -10..10 and is written as decimal digits with an optional '-'.
    // False on an unknown symbol, a bad exponent, an exponent sum outside 8 bits or any
    // other character; the unit is then partly filled. A null text reads as empty.
    bool scan(const char* text, TCSI_Unit& unit);
    // Copies the exponents of the current symbol (as raised by Token2SI) into unit.
    void GetSI(TCSI_Unit& unit) const;

protected:
    // Makes the symbol the current one; returns its table index, or -1 (and clears the
    // current symbol) when the table lacks it.
    int String2Token(const char* symbol);
    // The current symbol's exponents become its table exponents times exponent.
    void Token2SI(char exponent);
    // No current symbol: index 0, all exponents 0.
    void clear();

private:
    bool Apply(TCSI_Unit& unit) const;

    signed char m_exponents[TCSI_BASE_UNITS];
    int m_index;
};
