#pragma once

// The builders of property-dialog items that choose among entries: combo boxes, yes/no
// and on/off choices, the parameter source and check boxes.

#include "corekit80/propertydialog/TCPropertyDialogInfo.h"
#include "corekit80/types/TCExport.h"

class CString;
class CStringArray;
class TCString;

// Entries come as one text split at "\n", as an array copied into the item, or as the
// caller's array, which the host reads again whenever it shows the item (the item's
// contents are then dynamic). A null CStringArray* or const char* stands for no entries;
// since a bare nullptr fits both, pass a typed null.

// Texts that may be chosen or, unless readOnly, typed: 15 and 23 CString, 45 and 46
// TCString (23 and 46 with an array).
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, CString& text, const char* caption,
                                                const char* entries, const bool& readOnly = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, CString& text, const char* caption,
                                                const CStringArray& entries, const bool& readOnly = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, CString& text, const char* caption,
                                                CStringArray* entries, const bool& readOnly = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, TCString& text, const char* caption,
                                                const char* entries, const bool& readOnly = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, TCString& text, const char* caption,
                                                const CStringArray& entries, const bool& readOnly = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, TCString& text, const char* caption,
                                                CStringArray* entries, const bool& readOnly = false);
// 14: the index of the chosen entry; behaviour tells the host how entries map to values
// (1 plain indexes).
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, int& index, const char* caption,
                                                const char* entries, const int& behaviour = 1);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, int& index, const char* caption,
                                                const CStringArray& entries, const int& behaviour = 1);
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, int& index, const char* caption,
                                                CStringArray* entries, const int& behaviour = 1);
// 25: the index and, in text, the chosen or typed text.
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, int& index, TCString& text,
                                                const char* caption, CStringArray* entries,
                                                const bool& readOnly = false);
// 50: a number among the entries, each a number.
TC_EXPORT TCPropertyDialogInfo& TCPropertyCombo(TCPropertyDialog& dialog, double& value, const char* caption,
                                                const char* entries);

// "No" and "Yes" in the resource language: 14 for an int (0 no, 1 yes), 49 for a bool.
TC_EXPORT TCPropertyDialogInfo& TCPropertyYesNo(TCPropertyDialog& dialog, int& value, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyYesNo(TCPropertyDialog& dialog, bool& value, const char* caption);
// "Off" and "On" (14).
TC_EXPORT TCPropertyDialogInfo& TCPropertyOnOff(TCPropertyDialog& dialog, int& value, const char* caption);
// Where the module's parameters come from: "Internal", "External" or "Database" (14),
// captioned "Parameter source", needing the right to edit.
TC_EXPORT TCPropertyDialogInfo& TCPropertyParameter(TCPropertyDialog& dialog, int& source);

// 39: count check boxes labelled by texts split at "\n", one bit of value each (bit 0
// the first), side by side when horizontal; second, when given, is a second int the
// host keeps with them.
TC_EXPORT TCPropertyDialogInfo& TCPropertyCheckboxes(TCPropertyDialog& dialog, int& value, const char* caption,
                                                     int count, const char* texts, bool horizontal = true,
                                                     int* second = nullptr);
// One check box labelled text (39).
TC_EXPORT TCPropertyDialogInfo& TCPropertyCheck(TCPropertyDialog& dialog, int& value, const char* caption,
                                                const char* text);
