#pragma once

// TCDialog, the dialog class behind a window: resizing, limits, erasing and size memory.

#include "corekit80/dialogs/TCResizeable.h"
#include "corekit80/platform/TCWindowMessages.h"
#include "corekit80/types/TCExport.h"

// The base of module dialogs: handles its window's messages so that the dialog can be
// resized. On WM_INITDIALOG it runs OnInitDialog, where a derived dialog registers its
// controls at their designed places; on TCWM_CREATED it records the designed client size
// and gives a dialog with a sizing border its remembered size; restored-size
// notifications lay the controls out again (minimised and maximised ones change nothing);
// it answers the tracking limits, keeps the controls out of the background erasing, and
// on WM_DESTROY remembers the dialog's size and forgets its controls.
class TC_EXPORT TCDialog : public TCResizeable, public TCWindowHandler {
public:
    explicit TCDialog(CWnd* window);
    ~TCDialog() override;

    long OnMessage(CWnd* window, unsigned message, unsigned long wParam, long lParam) override;

protected:
    virtual void OnInitDialog();
};
