// The headless window: geometry, states, the child tree and message delivery in memory.
#include "corekit80/platform/TCHeadlessWindow.h"

#include <algorithm>

namespace {

constexpr int kMaxSize = 32767;
constexpr int kMaxCoordinate = 1000000;
constexpr int kMinimisedPosition = -32000;
constexpr int kMinimisedWidth = 160;
constexpr RECT kWorkArea{0, 0, 1920, 1080};

int ClampSize(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, kMaxSize)); }

int ClampCoordinate(long long v) { return static_cast<int>(std::clamp<long long>(v, -kMaxCoordinate, kMaxCoordinate)); }

// The rectangle at x, y of that size, both kept within their ranges.
RECT MakeRect(long long x, long long y, long long width, long long height)
{
    const int left = ClampCoordinate(x);
    const int top = ClampCoordinate(y);
    return RECT{left, top, left + ClampSize(width), top + ClampSize(height)};
}

RECT Bounded(const RECT& r)
{
    return MakeRect(r.left, r.top, static_cast<long long>(r.right) - r.left, static_cast<long long>(r.bottom) - r.top);
}

// A size kept between the tracking limits; the smallest wins when they cross.
int WithinTracking(int value, int smallest, int largest) { return std::max(std::min(value, largest), smallest); }

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

bool Minimising(int command)
{
    return command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE;
}

bool Restoring(int command)
{
    return command == SW_HIDE || command == SW_SHOWNORMAL || command == SW_SHOWNOACTIVATE || command == SW_RESTORE;
}

} // namespace

TCHeadlessWindow::TCHeadlessWindow(const char* className, const char* caption, unsigned long style, const RECT& rect)
    : TCHeadlessWindow(nullptr, className, caption, style, rect, 0)
{
}

TCHeadlessWindow::TCHeadlessWindow(TCHeadlessWindow* parent, const char* className, const char* text,
                                   unsigned long style, const RECT& rect, int id)
    : m_class(className), m_text(text), m_style(style), m_id(id), m_parent(parent), m_rect(Bounded(rect)),
      m_normal(m_rect)
{
}

TCHeadlessWindow::~TCHeadlessWindow() = default;

TCHeadlessWindow& TCHeadlessWindow::AddChild(const char* className, const char* text, unsigned long style,
                                             const RECT& rect, int id)
{
    m_children.emplace_back(new TCHeadlessWindow(this, className, text, style, rect, id));
    m_children.back()->m_index = m_children.size() - 1;
    return *m_children.back();
}

bool TCHeadlessWindow::Create(TCWindowHandler* handler)
{
    if (m_created || m_destroyed)
        return false;
    m_created = true;
    m_handler = handler;
    Send(WM_INITDIALOG, 0, 0);
    Send(TCWM_CREATED, 0, 0);
    return true;
}

void TCHeadlessWindow::Destroy()
{
    if (m_destroyed)
        return;
    Send(WM_DESTROY, 0, 0);
    for (auto& child : m_children)
        child->Destroy();
    m_destroyed = true;
    m_handler = nullptr;
}

RECT TCHeadlessWindow::Frame() const
{
    const int border = m_style & WS_THICKFRAME ? 8 : m_style & WS_DLGFRAME ? 3 : m_style & WS_BORDER ? 1 : 0;
    const int caption = (m_style & WS_CAPTION) == WS_CAPTION ? 23 : 0;
    return RECT{border, border + caption, border, border};
}

SIZE TCHeadlessWindow::ClientSize() const
{
    if (m_state == MINIMISED)
        return SIZE{0, 0};
    const RECT f = Frame();
    return SIZE{std::max(0, m_rect.right - m_rect.left - f.left - f.right),
                std::max(0, m_rect.bottom - m_rect.top - f.top - f.bottom)};
}

MINMAXINFO TCHeadlessWindow::AskLimits()
{
    RECT work = kWorkArea;
    if (m_parent)
        m_parent->GetClientRect(&work);
    const RECT f = Frame();
    const POINT workSize{work.right - work.left, work.bottom - work.top};
    MINMAXINFO limits{{0, 0}, workSize, {work.left, work.top}, {f.left + f.right, f.top + f.bottom}, workSize};
    Send(WM_GETMINMAXINFO, 0, reinterpret_cast<long>(&limits));
    return limits;
}

// Sets the outer rectangle (the normal one too while restored); notify forces a size
// notification that a changed client size sends anyway.
void TCHeadlessWindow::Place(const RECT& rect, bool repaint, bool notify)
{
    const SIZE before = ClientSize();
    m_rect = Bounded(rect);
    if (m_state == NORMAL)
        m_normal = m_rect;
    const SIZE after = ClientSize();
    if (notify || !SameSize(before, after)) {
        const int kind = m_state == MINIMISED ? SIZE_MINIMIZED : m_state == MAXIMISED ? SIZE_MAXIMIZED : SIZE_RESTORED;
        Send(WM_SIZE, kind, TCSizeParam(after.cx, after.cy));
    }
    if (repaint)
        Invalidate(true);
}

void TCHeadlessWindow::SetState(State state)
{
    if (state == MAXIMISED) {
        const MINMAXINFO limits = AskLimits();
        m_state = MAXIMISED;
        Place(MakeRect(limits.ptMaxPosition.x, limits.ptMaxPosition.y,
                       WithinTracking(limits.ptMaxSize.x, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x),
                       WithinTracking(limits.ptMaxSize.y, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y)),
              true, true);
    } else if (state == MINIMISED) {
        m_state = MINIMISED;
        const RECT f = Frame();
        Place(MakeRect(kMinimisedPosition, kMinimisedPosition, kMinimisedWidth, f.top + f.bottom), false, true);
    } else {
        m_state = NORMAL;
        Place(m_normal, true, true);
    }
}

// The state a show command leads to: the current one for SW_SHOW and SW_SHOWNA.
TCHeadlessWindow::State TCHeadlessWindow::TargetState(int command) const
{
    if (Minimising(command))
        return MINIMISED;
    if (command == SW_SHOWMAXIMIZED)
        return MAXIMISED;
    return Restoring(command) ? NORMAL : m_state;
}

void TCHeadlessWindow::SetVisible(bool visible)
{
    m_style = visible ? m_style | WS_VISIBLE : m_style & ~static_cast<unsigned long>(WS_VISIBLE);
}

SIZE TCHeadlessWindow::UserResize(int width, int height)
{
    if (!m_destroyed && m_state == NORMAL) {
        const MINMAXINFO limits = AskLimits();
        Place(MakeRect(m_rect.left, m_rect.top, WithinTracking(width, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x),
                       WithinTracking(height, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y)),
              true, false);
    }
    return SIZE{m_rect.right - m_rect.left, m_rect.bottom - m_rect.top};
}

void TCHeadlessWindow::Minimise()
{
    if (m_state != MINIMISED && !m_destroyed)
        SetState(MINIMISED);
}

void TCHeadlessWindow::Maximise()
{
    if (m_state != MAXIMISED && !m_destroyed)
        SetState(MAXIMISED);
}

void TCHeadlessWindow::Restore()
{
    if (m_state != NORMAL && !m_destroyed)
        SetState(NORMAL);
}

bool TCHeadlessWindow::Paint(HDC__* erased)
{
    if (m_destroyed || !m_erasePending || !IsWindowVisible())
        return false;
    m_erasePending = false;
    HDC__ dc;
    GetClientRect(&dc.clip);
    if (Send(WM_ERASEBKGND, reinterpret_cast<unsigned long>(&dc), 0) != 0)
        return false;
    if (erased)
        *erased = dc;
    return true;
}

bool TCHeadlessWindow::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    if (m_destroyed || !placement)
        return false;
    const uint32_t shown =
        m_state == MINIMISED ? SW_SHOWMINIMIZED : m_state == MAXIMISED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    *placement = WINDOWPLACEMENT{sizeof(WINDOWPLACEMENT), 0, m_style & WS_VISIBLE ? shown : uint32_t{SW_HIDE},
                                 m_minPosition, m_maxPosition, m_normal};
    return true;
}

// SW_HIDE restores the window in place and hides it; the commands that keep the state
// (SW_SHOW, SW_SHOWNA) apply the normal rectangle when the window is restored.
bool TCHeadlessWindow::SetWindowPlacement(const WINDOWPLACEMENT* placement)
{
    if (m_destroyed || !placement || placement->showCmd > SW_RESTORE)
        return false;
    m_minPosition = placement->ptMinPosition;
    m_maxPosition = placement->ptMaxPosition;
    m_normal = Bounded(placement->rcNormalPosition);
    const int command = static_cast<int>(placement->showCmd);
    SetVisible(command != SW_HIDE);
    const State target = TargetState(command);
    if (target == NORMAL || target != m_state)
        SetState(target);
    return true;
}

HWND TCHeadlessWindow::GetSafeHwnd() const
{
    // The object's address names it; nothing dereferences the handle.
    return m_destroyed ? nullptr : reinterpret_cast<HWND>(const_cast<TCHeadlessWindow*>(this));
}

CWnd* TCHeadlessWindow::GetDlgItem(int id) const
{
    for (const auto& child : m_children)
        if (child->m_id == id)
            return child.get();
    return nullptr;
}

bool TCHeadlessWindow::GetClientRect(RECT* rect) const
{
    if (!rect)
        return false;
    const SIZE size = ClientSize();
    *rect = RECT{0, 0, size.cx, size.cy};
    return true;
}

CString TCHeadlessWindow::GetWindowText() const { return m_text; }

bool TCHeadlessWindow::SetWindowText(const char* text)
{
    m_text = text;
    return true;
}

CString TCHeadlessWindow::GetClassName() const { return m_class; }

unsigned long TCHeadlessWindow::GetStyle() const { return m_style; }

int TCHeadlessWindow::GetDlgCtrlID() const { return m_id; }

CWnd* TCHeadlessWindow::GetParent() const { return m_parent; }

CWnd* TCHeadlessWindow::GetFirstChild() const { return m_children.empty() ? nullptr : m_children.front().get(); }

CWnd* TCHeadlessWindow::GetNextSibling() const
{
    if (!m_parent || m_index + 1 >= m_parent->m_children.size())
        return nullptr;
    return m_parent->m_children[m_index + 1].get();
}

bool TCHeadlessWindow::GetWindowRect(RECT* rect) const
{
    if (!rect)
        return false;
    *rect = m_rect;
    return true;
}

bool TCHeadlessWindow::MoveWindow(int x, int y, int width, int height, bool repaint)
{
    if (m_destroyed)
        return false;
    const RECT rect = MakeRect(x, y, width, height);
    if (m_state == MINIMISED)
        m_normal = rect;
    else
        Place(rect, repaint, false);
    return true;
}

void TCHeadlessWindow::Invalidate(bool erase)
{
    if (m_destroyed)
        return;
    RECT client;
    GetClientRect(&client);
    m_invalidations.push_back(Invalidation{client, erase});
    m_erasePending = m_erasePending || erase;
}

bool TCHeadlessWindow::IsWindowVisible() const
{
    if (m_destroyed)
        return false;
    for (const TCHeadlessWindow* w = this; w; w = w->m_parent)
        if (!(w->m_style & WS_VISIBLE))
            return false;
    return true;
}

bool TCHeadlessWindow::ShowWindow(int command)
{
    const bool wasVisible = (m_style & WS_VISIBLE) != 0;
    if (m_destroyed || command < SW_HIDE || command > SW_RESTORE)
        return wasVisible;
    SetVisible(command != SW_HIDE);
    if (const State target = TargetState(command); target != m_state && command != SW_HIDE)
        SetState(target);
    return wasVisible;
}

bool TCHeadlessWindow::IsIconic() const { return m_state == MINIMISED; }

bool TCHeadlessWindow::IsZoomed() const { return m_state == MAXIMISED; }

HICON TCHeadlessWindow::SetIcon(HICON icon, bool big)
{
    HICON previous = m_icons[big];
    m_icons[big] = icon;
    return previous;
}

HICON TCHeadlessWindow::GetIcon(bool big) const { return m_icons[big]; }

long TCHeadlessWindow::Send(unsigned message, unsigned long wParam, long lParam)
{
    if (!m_handler || m_destroyed)
        return 0;
    return m_handler->OnMessage(this, message, wParam, lParam);
}
