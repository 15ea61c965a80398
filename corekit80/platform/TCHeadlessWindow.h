#pragma once

// TCHeadlessWindow, the complete window without a window system.

#include <memory>
#include <vector>

#include "corekit80/platform/CWnd.h"
#include "corekit80/platform/TCDeviceContext.h"
#include "corekit80/platform/TCWindowMessages.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

// A window kept in memory: caption, class, style, control id, outer rectangle, a tree of
// child windows it owns, visibility, the minimised and maximised states with the normal
// placement, caption icons, and a handler that receives its messages. It is the seam a
// GUI host implements: a host derives its own windows from CWnd, answers every call below
// from its window system and delivers the same messages to the window's handler at the
// same moments; this class is the rule book that such a host follows and what runs when
// no window system is there (tests, batch runs).
//
// Rules:
// - The frame around the client area: 8 pixels on each side with WS_THICKFRAME, else 3
//   with WS_DLGFRAME, else 1 with WS_BORDER; 23 more on top with a caption (WS_CAPTION).
// - Sizes are kept within 0 to 32767, coordinates within -1,000,000 to 1,000,000.
// - A change of the client size sends WM_SIZE with the kind of the window's state; so
//   does every change of the state. A minimised window has a client area of 0 by 0 and
//   sits at -32000, -32000; moving it changes its normal placement only.
// - The screen's work area is 0, 0 to 1920, 1080; a child is maximised within its
//   parent's client area. The window asks its handler for WM_GETMINMAXINFO with that area
//   as maximised size and largest tracking size and the bare frame as the smallest one.
// - Invalidations are logged; an erasing one makes the next Paint erase the background.
// - Messages reach the handler only between Create and Destroy.
class TC_EXPORT TCHeadlessWindow : public CWnd {
public:
    struct Invalidation {
        RECT rect;
        bool erase;
    };

    // A top-level window at rect, in screen coordinates.
    TCHeadlessWindow(const char* className, const char* caption, unsigned long style, const RECT& rect);
    ~TCHeadlessWindow() override;
    TCHeadlessWindow(const TCHeadlessWindow&) = delete;
    TCHeadlessWindow& operator=(const TCHeadlessWindow&) = delete;

    // A child window owned by this one, at rect in this window's client coordinates, last
    // in z-order.
    TCHeadlessWindow& AddChild(const char* className, const char* text, unsigned long style, const RECT& rect,
                               int id);

    // Attaches the handler and announces the window to it: WM_INITDIALOG, then
    // TCWM_CREATED. False when the window was created or destroyed before.
    bool Create(TCWindowHandler* handler);
    // Sends WM_DESTROY to this window's handler, then to those of its children, and
    // detaches them. The handle is null afterwards; the last geometry stays readable.
    // Deleting a window does not destroy it: it sends nothing.
    void Destroy();

    // The user drags the frame of a restored window to this outer size, the top-left
    // corner staying: the size is kept within the tracking limits the handler answers
    // (the smallest winning), then applied. Returns the outer size afterwards.
    SIZE UserResize(int width, int height);
    void Minimise();
    void Maximise();
    void Restore();
    // When an erasing invalidation is pending and the window is visible, sends
    // WM_ERASEBKGND with a device context clipped to the client area. True when the
    // handler left the erasing to the window, which then erased what erased (if given)
    // receives: the context as the handler left it.
    bool Paint(HDC__* erased);

    const std::vector<Invalidation>& Invalidations() const { return m_invalidations; }
    void ClearInvalidations() { m_invalidations.clear(); }

    bool GetWindowPlacement(WINDOWPLACEMENT* placement) const override;
    bool SetWindowPlacement(const WINDOWPLACEMENT* placement) override;
    HWND GetSafeHwnd() const override;
    CWnd* GetDlgItem(int id) const override;
    bool GetClientRect(RECT* rect) const override;
    CString GetWindowText() const override;
    bool SetWindowText(const char* text) override;
    CString GetClassName() const override;
    unsigned long GetStyle() const override;
    int GetDlgCtrlID() const override;
    CWnd* GetParent() const override;
    CWnd* GetFirstChild() const override;
    CWnd* GetNextSibling() const override;
    bool GetWindowRect(RECT* rect) const override;
    bool MoveWindow(int x, int y, int width, int height, bool repaint) override;
    void Invalidate(bool erase) override;
    bool IsWindowVisible() const override;
    bool ShowWindow(int command) override;
    bool IsIconic() const override;
    bool IsZoomed() const override;
    HICON SetIcon(HICON icon, bool big) override;
    HICON GetIcon(bool big) const override;
    long Send(unsigned message, unsigned long wParam, long lParam) override;

private:
    enum State { NORMAL, MINIMISED, MAXIMISED };

    TCHeadlessWindow(TCHeadlessWindow* parent, const char* className, const char* text, unsigned long style,
                     const RECT& rect, int id);
    RECT Frame() const;
    SIZE ClientSize() const;
    MINMAXINFO AskLimits();
    void Place(const RECT& rect, bool repaint, bool notify);
    void SetState(State state);
    State TargetState(int command) const;
    void SetVisible(bool visible);

    CString m_class;
    CString m_text;
    unsigned long m_style;
    int m_id;
    TCHeadlessWindow* m_parent;
    size_t m_index = 0;
    std::vector<std::unique_ptr<TCHeadlessWindow>> m_children;
    RECT m_rect{};
    RECT m_normal{};
    POINT m_minPosition{-1, -1};
    POINT m_maxPosition{-1, -1};
    State m_state = NORMAL;
    TCWindowHandler* m_handler = nullptr;
    bool m_created = false;
    bool m_destroyed = false;
    bool m_erasePending = false;
    HICON m_icons[2] = {};
    std::vector<Invalidation> m_invalidations;
};
