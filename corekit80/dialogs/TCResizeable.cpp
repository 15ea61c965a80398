// Resizing a dialog's registered controls, its size limits, caption icon and flicker-free erasing.
#include "corekit80/dialogs/TCResizeable.h"

#include <algorithm>
#include <cmath>

#include "corekit80/dialogs/TCResizeableImpl.h"

namespace {

// Edges far outside any screen still give an int; NaN gives 0.
int Truncate(double v) { return std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, -1e9, 1e9)); }

bool IsGroupBox(const CWnd& window)
{
    return window.GetClassName().CompareNoCase("Button") == 0 && (window.GetStyle() & BS_TYPEMASK) == BS_GROUPBOX;
}

bool OuterSize(const CWnd* window, int& width, int& height)
{
    RECT r;
    if (!window || !window->GetWindowRect(&r))
        return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    return true;
}

} // namespace

TCResizeable::TCResizeableImpl::TCResizeableImpl(CWnd* dialog) : m_dialog(dialog)
{
    OuterSize(dialog, m_minWidth, m_minHeight);
}

TCResizeable::TCResizeableImpl::~TCResizeableImpl()
{
    if (!m_icon)
        return;
    for (bool big : {true, false})
        if (m_dialog->GetIcon(big) == m_icon)
            m_dialog->SetIcon(nullptr, big);
    TCDestroyIcon(m_icon);
}

void TCResizeable::TCResizeableImpl::Add(CWnd* control, double left, double top, double right, double bottom,
                                         bool flickerFree)
{
    RECT r;
    if (!control || !control->GetWindowRect(&r))
        return;
    m_controls.push_back(Control{control->GetSafeHwnd(), control, left, top, right, bottom, double(r.left),
                                 double(r.top), double(r.right), double(r.bottom), flickerFree});
}

CWnd* TCResizeable::TCResizeableImpl::ChildWithHandle(HWND handle) const
{
    if (!m_dialog || !handle)
        return nullptr;
    for (CWnd* child = m_dialog->GetFirstChild(); child; child = child->GetNextSibling())
        if (child->GetSafeHwnd() == handle)
            return child;
    return nullptr;
}

void TCResizeable::TCResizeableImpl::Clear()
{
    m_controls.clear();
    m_lastWidth = 0;
}

void TCResizeable::TCResizeableImpl::Resize(int width, int height)
{
    if (m_dialog && m_dialog->IsIconic())
        return;
    if (m_lastWidth != 0 && m_lastHeight != 0) {
        const double dx = double(width) - m_lastWidth;
        const double dy = double(height) - m_lastHeight;
        for (Control& c : m_controls) {
            c.left += c.leftFactor * dx;
            c.top += c.topFactor * dy;
            c.right += c.rightFactor * dx;
            c.bottom += c.bottomFactor * dy;
            c.window->MoveWindow(Truncate(c.left), Truncate(c.top), Truncate(c.right - c.left),
                                 Truncate(c.bottom - c.top), false);
        }
        if (m_dialog)
            m_dialog->Invalidate(true);
    }
    m_lastWidth = width;
    m_lastHeight = height;
}

void TCResizeable::TCResizeableImpl::SetLimits(int minWidth, int minHeight, int maxWidth, int maxHeight)
{
    int width = 0;
    int height = 0;
    const bool relative = OuterSize(m_dialog, width, height);
    auto limit = [relative](int value, int current) { return relative && value < 1 ? value + current : value; };
    m_minWidth = limit(minWidth, width);
    m_minHeight = limit(minHeight, height);
    m_maxWidth = limit(maxWidth, width);
    m_maxHeight = limit(maxHeight, height);
}

void TCResizeable::TCResizeableImpl::SetCaptionIcon(unsigned int iconId)
{
    if (!m_dialog)
        return;
    HICON icon = TCLoadIcon(nullptr, iconId);
    m_dialog->SetIcon(icon, true);
    m_dialog->SetIcon(icon, false);
    TCDestroyIcon(m_icon);
    m_icon = icon;
}

void TCResizeable::TCResizeableImpl::ApplyLimits(MINMAXINFO& limits) const
{
    limits.ptMinTrackSize = POINT{m_minWidth, m_minHeight};
    limits.ptMaxTrackSize = POINT{m_maxWidth, m_maxHeight};
}

bool TCResizeable::TCResizeableImpl::PaintedOver(const CWnd* child) const
{
    return std::any_of(m_controls.begin(), m_controls.end(),
                       [child](const Control& c) { return c.window == child && !c.flickerFree; });
}

void TCResizeable::TCResizeableImpl::ExcludeControls(HDC__& dc) const
{
    if (!m_dialog || !(m_dialog->GetStyle() & WS_THICKFRAME))
        return;
    for (CWnd* child = m_dialog->GetFirstChild(); child; child = child->GetNextSibling()) {
        RECT r;
        if (child->IsWindowVisible() && !IsGroupBox(*child) && !PaintedOver(child) && child->GetWindowRect(&r))
            dc.ExcludeClipRect(r);
    }
}

TCResizeable::TCResizeable(CWnd* dialog) : m_impl(new TCResizeableImpl(dialog)) {}

TCResizeable::~TCResizeable() { delete m_impl; }

void TCResizeable::AddResizeableWnd(HWND window, double left, double top, double right, double bottom,
                                    bool flickerFree)
{
    m_impl->Add(m_impl->ChildWithHandle(window), left, top, right, bottom, flickerFree);
}

void TCResizeable::AddResizeableCtrl(int controlId, double left, double top, double right, double bottom,
                                     bool flickerFree)
{
    if (m_impl->m_dialog)
        m_impl->Add(m_impl->m_dialog->GetDlgItem(controlId), left, top, right, bottom, flickerFree);
}

void TCResizeable::ClearResizeable() { m_impl->Clear(); }

void TCResizeable::Resize(int width, int height) { m_impl->Resize(width, height); }

void TCResizeable::SetResizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight)
{
    m_impl->SetLimits(minWidth, minHeight, maxWidth, maxHeight);
}

void TCResizeable::SetWndCaptionIcon(unsigned int iconId) { m_impl->SetCaptionIcon(iconId); }
