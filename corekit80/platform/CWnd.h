#pragma once

// CWnd, a window of the host's user interface: placement, geometry, children, state, messages.

#include "corekit80/platform/TCResourceHandles.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// Style bits that the library reads: a child window, visibility, the caption bar, frames,
// the sizing border, and the button kind (BS_TYPEMASK) with the group box among them.
enum : unsigned long {
    WS_CHILD = 0x40000000,
    WS_VISIBLE = 0x10000000,
    WS_CAPTION = 0x00C00000,
    WS_BORDER = 0x00800000,
    WS_DLGFRAME = 0x00400000,
    WS_THICKFRAME = 0x00040000,
    BS_TYPEMASK = 0x0000000F,
    BS_GROUPBOX = 0x00000007
};

// Show commands beyond SW_HIDE and SW_SHOW.
enum {
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_MINIMIZE = 6,
    SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8,
    SW_RESTORE = 9
};

// A window of the host's user interface as far as the library handles one. A host wraps
// its own windows in a class derived from this one (TCHeadlessWindow is the complete one
// without a window system); the base has no window behind it, so every call fails or
// answers a neutral value.
//
// Rectangles of a window (GetWindowRect, MoveWindow) are in its parent's client
// coordinates, a top-level window's in screen coordinates; the client area starts at 0, 0.
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

    // The caption (of a control: its text).
    virtual CString GetWindowText() const;
    virtual bool SetWindowText(const char* text);
    // The window class, such as "Button"; "" when unknown.
    virtual CString GetClassName() const;
    virtual unsigned long GetStyle() const;
    // The control id among its siblings; 0 for none.
    virtual int GetDlgCtrlID() const;

    // The tree: the parent, the first child and the next sibling in z-order from the top.
    virtual CWnd* GetParent() const;
    virtual CWnd* GetFirstChild() const;
    virtual CWnd* GetNextSibling() const;

    // The outer rectangle, frame included; false when it cannot.
    virtual bool GetWindowRect(RECT* rect) const;
    // Sets the outer rectangle without changing the z-order; repaint invalidates the
    // window. A change of the client size reaches the window as a size notification.
    virtual bool MoveWindow(int x, int y, int width, int height, bool repaint);
    // Marks the whole client area for repainting; erase also for erasing its background.
    virtual void Invalidate(bool erase);

    // Visible when the window and every parent have WS_VISIBLE.
    virtual bool IsWindowVisible() const;
    // Applies a show command; answers whether the window was visible before.
    virtual bool ShowWindow(int command);
    virtual bool IsIconic() const;
    virtual bool IsZoomed() const;
    // Sets the big or small caption icon (the caller keeps ownership) and returns the
    // previous one.
    virtual HICON SetIcon(HICON icon, bool big);
    virtual HICON GetIcon(bool big) const;

    // Delivers a message to the window's handler at once and returns its answer; 0 when
    // nothing handles it.
    virtual long Send(unsigned message, unsigned long wParam, long lParam);
};
