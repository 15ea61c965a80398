#pragma once

// The SI base units and the table of unit symbols.

#include "corekit80/types/TCExport.h"

// The SI base units, in the order of the exponents of a unit: m, kg, s, A, K, mol, cd.
constexpr int TCSI_BASE_UNITS = 7;

// A unit symbol with the exponents of the base units it stands for.
struct TCSI_Symbol {
    const char* symbol;
    signed char exponents[TCSI_BASE_UNITS];
};

// The symbols of the unit texts: index 0 is the dimensionless unit, 1 to 7 the base
// units, 8 to 24 the derived units. Symbols are case-sensitive and carry no prefixes.
constexpr int TCSI_SYMBOL_COUNT = 25;
TC_EXPORT extern const TCSI_Symbol TCSI_Symbols[TCSI_SYMBOL_COUNT];
