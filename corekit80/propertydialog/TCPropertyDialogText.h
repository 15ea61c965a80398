#pragma once

// TCPropertyDialogText, a property dialog as text: one line per item.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCPropertyDialog;

// The dialog as text, for hosts without a window system and for comparing dialogs in
// tests. Items come in the order of TCPropertyDialog::GetNextWithSub, one line each
// ending in "\n", with fields separated by one blank:
//
//   path code "caption" [value=V] [min=L] [max=H] [flags=F,...] [callbacks=C,...] enabled=0|1
//
// - path: the item's index in its dialog, preceded by the indexes of the sub-dialog items
//   above it, joined by "." ("2.0" is the first item of the sub-dialog of item 2);
// - code: the item's type number (TCPropertyDialogInfo::Types);
// - caption and every text value are quoted, with \" \\ \n \r \t and \xHH escapes;
// - value: the module's variable as the item's type reads it; absent without a variable.
//   Numbers in the "C" locale, doubles in their shortest exact form; an int combo gives
//   the index and the chosen entry, 1 ("Yes"); passwords only (set) or (empty); paths
//   the stored path; fonts face, height and weight; times as written by their records;
//   a list control the number of rows;
// - min, max: the bounds that are present; "@" marks one read from a module's variable;
// - flags: the item's flags that differ from their defaults, a default one that is
//   cleared preceded by "-" (-horizontal); enabled is left out, see below;
// - callbacks: the names of the callbacks that are set (IsEnabled, Callback, ...);
// - enabled: the item's IsEnabled callback's answer when it has one, else its flag.
//
// Example, a dialog with an int item, a sub-dialog holding a yes/no combo and a double:
//
//   0 3 "Channels" value=4 min=1 max=16 flags=range-check enabled=1
//   1 1 "General properties" enabled=1
//   1.0 14 "Average" value=1 ("Yes") flags=read-only callbacks=IsEnabled enabled=0
//   1.1 4 "Gain" value=0.5 enabled=1
//
// Calling the IsEnabled callbacks is the only thing done beyond reading. An empty
// handle gives "".
TC_EXPORT TCString TCPropertyDialogText(const TCPropertyDialog& dialog);
