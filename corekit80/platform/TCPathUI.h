#pragma once

// The file chooser and text measuring services a host supplies to path objects.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"
#include "corekit80/types/TCWinTypes.h"

// A request for a file or folder chooser. Paths are in the system's form ('/').
struct TCFileChooserRequest {
    enum Kind { OPEN_FILE, SAVE_FILE, FOLDER };
    // Results of the chooser.
    enum Result { RESULT_OK = 1, RESULT_CANCEL = 2 };

    Kind kind;
    const char* start;   // file or folder to start from; never null
    const char* filter;  // "Text (*.txt)|*.txt|All files (*.*)|*.*||", or null
    const char* defExt;  // extension for a name typed without one, or null
    const char* title;   // or null
    HWND parent;         // or null
};

// The user-interface services that path objects use and that only a host can supply.
struct TCPathUI {
    // Shows a chooser; on RESULT_OK the chosen path is in chosen.
    int (*choose)(const TCFileChooserRequest& request, TCString& chosen);
    // The width in pixels of text drawn in the window's font; -1 when it cannot be measured.
    int (*measureText)(HWND window, const char* text);
};

// Installs the host's services (null members: not offered). Done once while the host starts.
TC_EXPORT void TCSetPathUI(const TCPathUI& ui);

// Without a chooser the answer is RESULT_CANCEL.
TC_EXPORT int TCRunFileChooser(const TCFileChooserRequest& request, TCString& chosen);
// Without a measuring service the answer is -1.
TC_EXPORT int TCMeasureText(HWND window, const char* text);
