// The base CWnd, which has no window behind it: every call fails.
#include "corekit80/platform/CWnd.h"

CWnd::~CWnd() = default;

bool CWnd::GetWindowPlacement(WINDOWPLACEMENT*) const
{
    return false;
}

bool CWnd::SetWindowPlacement(const WINDOWPLACEMENT*)
{
    return false;
}

HWND CWnd::GetSafeHwnd() const { return nullptr; }

CWnd* CWnd::GetDlgItem(int) const { return nullptr; }

bool CWnd::GetClientRect(RECT*) const { return false; }
