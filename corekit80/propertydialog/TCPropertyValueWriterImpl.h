#pragma once

// Writing an edited value into the module's variable of a property-dialog item.

#include <functional>
#include <vector>

#include "corekit80/types/TCString.h"

class TCPropertyDialogInfoImpl;

// What puts the variables back as they were, in the order they were written.
using TCPropertyUndo = std::vector<std::function<void()>>;

// Reads text as a value of the item's type (TCPropertyDialogHost gives the forms), checks
// it against the type, the item's entries and its bounds, and writes it into the item's
// variable, adding to undo what restores the old value. Buttons are clicked instead.
// False, with nothing written and the reason in error, when the value does not fit.
bool TCPropertyWriteValue(TCPropertyDialogInfoImpl& item, const TCString& text, TCPropertyUndo& undo,
                          TCString& error);
