#pragma once

// TCResizeable::TCResizeableImpl, the registered controls, the last size and the limits.

#include <vector>

#include "corekit80/dialogs/TCResizeable.h"
#include "corekit80/platform/TCDeviceContext.h"
#include "corekit80/platform/TCResourceHandles.h"
#include "corekit80/platform/TCWindowMessages.h"

class TCResizeable::TCResizeableImpl {
public:
    // A registered control: the fractions of the size change its edges move by, and its
    // rectangle in the dialog's client coordinates.
    struct Control {
        HWND handle;
        CWnd* window;
        double leftFactor, topFactor, rightFactor, bottomFactor;
        double left, top, right, bottom;
        bool flickerFree;
    };

    explicit TCResizeableImpl(CWnd* dialog);
    ~TCResizeableImpl();

    void Add(CWnd* control, double left, double top, double right, double bottom, bool flickerFree);
    // The dialog's child with this handle, or null.
    CWnd* ChildWithHandle(HWND handle) const;
    void Clear();
    void Resize(int width, int height);
    void SetLimits(int minWidth, int minHeight, int maxWidth, int maxHeight);
    void SetCaptionIcon(unsigned int iconId);

    // The dialog's answer to WM_GETMINMAXINFO: the limits as tracking sizes.
    void ApplyLimits(MINMAXINFO& limits) const;
    // Before the background of a dialog with a sizing border is erased: excludes every
    // visible child but group boxes and the controls registered as not flicker-free.
    void ExcludeControls(HDC__& dc) const;

    CWnd* m_dialog;
    std::vector<Control> m_controls;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth = 32000;
    int m_maxHeight = 32000;
    // The caption icon loaded here, freed with this object.
    HICON m_icon = nullptr;

private:
    bool PaintedOver(const CWnd* child) const;
};
