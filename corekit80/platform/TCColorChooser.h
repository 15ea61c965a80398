#pragma once

// The colour chooser that a host supplies.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// Shows the host's colour chooser starting at initial; answers TCFileChooserRequest's
// RESULT_OK (1) with the choice in chosen, or RESULT_CANCEL (2).
typedef int (*TCColorChooser)(COLORREF initial, HWND parent, COLORREF& chosen);

// Installs the host's chooser (null: none); done once while the host starts.
TC_EXPORT void TCSetColorChooser(TCColorChooser chooser);
// Without a chooser the answer is cancel and chosen stays as it was.
TC_EXPORT int TCRunColorChooser(COLORREF initial, HWND parent, COLORREF& chosen);
