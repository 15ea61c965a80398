#pragma once

// TCSI_Unit, a physical unit as a factor and SI base-unit exponents.

#include "corekit80/foundation/TCSI_Symbols.h"
#include "corekit80/types/TCExport.h"

class TCString;
class CString;

// A physical unit: a scale factor and the exponents of the seven SI base units (in the
// order of TCSI_Symbols: m, kg, s, A, K, mol, cd), so that units multiply, divide and
// compare exactly. The text form is a unit expression such as "kg m^2 s^-2", written
// with a derived symbol where one matches ("J"), optionally followed by a power of ten
// for the factor: "V * 1e-003".
class TC_EXPORT TCSI_Unit {
public:
    TCSI_Unit() { clear(); }

    // Factor 1.0, all exponents 0.
    void clear();
    // Adds (subtracts) the other's exponents and multiplies (divides) the factors.
    void multiply(const TCSI_Unit& u);
    void divide(const TCSI_Unit& u);

    // Equal when all exponents are equal and the factors are exactly equal.
    bool operator==(const TCSI_Unit& u) const;
    bool operator!=(const TCSI_Unit& u) const { return !(*this == u); }

    // Appends the unit expression without the factor ("" for a dimensionless unit) to s
    // and returns s's text.
    const char* GetString(TCString& s) const;
    const char* GetString(CString& s) const;
    // s becomes the expression followed by " * 1e%+04d" with the decimal exponent of the
    // factor (log10 truncated towards zero) when the factor is not 1.0; an empty
    // expression is then written "1". A factor that is not finite or not above 0 is
    // written as exponent 0. Returns s's text.
    const char* ToString(TCString& s) const;
    // Reads the text form: the expression before the first '*' ("" and "1" are
    // dimensionless), and after the '*' a "1e" followed by the power of ten. False on a
    // syntax error or an unknown symbol; the unit is then partly filled.
    bool FromString(const char* text);

    double factor;
    signed char exponents[TCSI_BASE_UNITS];
};
