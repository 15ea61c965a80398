#pragma once

// TCResizeable, the resizing of a dialog's controls by fractions of the dialog's size change.

#include "corekit80/platform/CWnd.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// Moves and stretches the registered controls of a dialog when its client size changes:
// each edge of a control moves by its own fraction of the change (left and right edges
// of the change in width, top and bottom of the change in height), so 0, 0, 1, 0
// stretches a control with the width, 1, 1, 1, 1 moves it with the lower right corner and
// 0.5, 0, 0.5, 0 keeps it centred. The edges are kept as fractional numbers, so that
// many small changes add up to what one large change gives. It also holds the dialog's
// size limits and its caption icon. TCDialog applies it to the dialog's messages.
//
// Controls are registered at the dialog's designed size: the first size notification
// only records the size. The dialog window must outlive this object.
class TC_EXPORT TCResizeable {
public:
    class TCResizeableImpl;

    // The dialog's current outer size becomes its minimum (0 by 0 without a window); the
    // maximum is 32000 by 32000.
    explicit TCResizeable(CWnd* dialog);
    virtual ~TCResizeable();
    TCResizeable(const TCResizeable&) = delete;
    TCResizeable& operator=(const TCResizeable&) = delete;

    // Registers the dialog's child with this handle (nothing for another window) with the
    // fractions of its four edges; its rectangle is read at once. A control whose
    // flickerFree is false is painted over when the background is erased.
    void AddResizeableWnd(HWND window, double left, double top, double right, double bottom, bool flickerFree);
    // The same for the dialog's child with this id; nothing when there is none.
    void AddResizeableCtrl(int controlId, double left, double top, double right, double bottom, bool flickerFree);
    // Forgets every control; the next size notification only records the size.
    void ClearResizeable();
    // Lays the controls out for a new client size, unless the dialog is minimised.
    void Resize(int width, int height);
    // Outer size limits of the user's resizing. A value below 1 counts from the dialog's
    // current outer width or height (0 keeps it, -10 is 10 less); without a dialog window
    // the values are taken as they are.
    void SetResizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight);
    // Makes the icon with this resource number of the current resource module the
    // dialog's caption icon.
    void SetWndCaptionIcon(unsigned int iconId);

protected:
    TCResizeableImpl* Impl() const { return m_impl; }

private:
    TCResizeableImpl* m_impl;
};
