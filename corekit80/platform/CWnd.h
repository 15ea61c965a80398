#pragma once

// CWnd, a host window whose placement can be fetched and applied.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// A window of the host's user interface as far as the library handles one: its
// placement can be fetched and applied, which is what saving and restoring window
// positions in settings files needs. A host wraps its own windows in a class derived
// from this one; the base has no window behind it, so every call fails.
class TC_EXPORT CWnd {
public:
    virtual ~CWnd();
    // Fills placement with the window's current placement; false when it cannot.
    virtual bool GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    // Moves the window and applies the show command of placement; false when it cannot.
    virtual bool SetWindowPlacement(const WINDOWPLACEMENT* placement);
    // The window system's handle; null in the base.
    virtual HWND GetSafeHwnd() const;
    // The child control with this id, or null.
    virtual CWnd* GetDlgItem(int id) const;
    // The client area in client coordinates; false when it cannot.
    virtual bool GetClientRect(RECT* rect) const;
};
