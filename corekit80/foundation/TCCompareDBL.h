#pragma once

// TCCompareDBL, comparison of doubles within a relative 2^-52 or bit-exact.

#include "corekit80/types/TCExport.h"

// Comparison of doubles that treats values within a relative 2^-52 as equal (exact =
// false) or compares their bits (exact = true, so 0.0 and -0.0 differ). A NaN operand
// is equal, greater or less than nothing.
class TC_EXPORT TCCompareDBL {
public:
    static bool IsEqual(double a, double b, bool exact = false);
    static bool IsGreater(double a, double b, bool exact = false);
    static bool IsGreaterOrEqual(double a, double b, bool exact = false);
    static bool IsLess(double a, double b, bool exact = false);
    static bool IsLessOrEqual(double a, double b, bool exact = false);
    // -1, 0 or 1; two NaNs are equal and a NaN ranks below every number. Not
    // antisymmetric: exactly compared, 0.0 and -0.0 are unequal and neither is greater,
    // so both orders give -1 (kept for compatibility; a sort needs a total order).
    static int Compare(double a, double b, bool exact = false);
    // Pushes two tolerantly equal finite values apart by 2^-23 each.
    static void MakeUnequal(double& a, double& b);
};
