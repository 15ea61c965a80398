#pragma once

// Ready-made conditions for IsEnabled and PasswordVerify callbacks.

#include "corekit80/types/TCExport.h"

// Each argument points at a module's variable or constant of the type named: int, bool,
// double, a C string (the argument is the text itself) or a TCString. A null pointer reads
// as 0, false or the empty text.

// The int is not 0 / the bool is true, and their negations.
TC_EXPORT bool TCPropertyDialogIsSet(const void* a);
TC_EXPORT bool TCPropertyDialogIsSetBool(const void* a);
TC_EXPORT bool TCPropertyDialogIsNotSet(const void* a);
TC_EXPORT bool TCPropertyDialogIsNotSetBool(const void* a);
// The two ints are (not) equal.
TC_EXPORT bool TCPropertyDialogIsEqualInt(const void* a, const void* b);
TC_EXPORT bool TCPropertyDialogIsNotEqualInt(const void* a, const void* b);
// The two doubles are (not) equal by TCCompareDBL::IsEqual.
TC_EXPORT bool TCPropertyDialogIsEqualDbl(const void* a, const void* b);
TC_EXPORT bool TCPropertyDialogIsNotEqualDbl(const void* a, const void* b);
// The two C strings or TCStrings are equal, case sensitive or not (letters of the
// process code page).
TC_EXPORT bool TCPropertyDialogIsEqualString(const void* a, const void* b);
TC_EXPORT bool TCPropertyDialogIsEqualStringNoCase(const void* a, const void* b);
TC_EXPORT bool TCPropertyDialogIsEqualTCString(const void* a, const void* b);
TC_EXPORT bool TCPropertyDialogIsEqualTCStringNoCase(const void* a, const void* b);
// A password and its repetition agree (case sensitive): C strings or TCStrings.
TC_EXPORT bool TCPropertyDialogVerifyPassword(const void* a, const void* b);
TC_EXPORT bool TCPropertyDialogVerifyTCStringPassword(const void* a, const void* b);
// Never: an item that is always disabled, as a read-only view.
TC_EXPORT bool TCPropertyDialogReadOnly();
