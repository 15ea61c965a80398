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

CString CWnd::GetWindowText() const { return CString(); }

bool CWnd::SetWindowText(const char*) { return false; }

CString CWnd::GetClassName() const { return CString(); }

unsigned long CWnd::GetStyle() const { return 0; }

int CWnd::GetDlgCtrlID() const { return 0; }

CWnd* CWnd::GetParent() const { return nullptr; }

CWnd* CWnd::GetFirstChild() const { return nullptr; }

CWnd* CWnd::GetNextSibling() const { return nullptr; }

bool CWnd::GetWindowRect(RECT*) const { return false; }

bool CWnd::MoveWindow(int, int, int, int, bool) { return false; }

void CWnd::Invalidate(bool) {}

bool CWnd::IsWindowVisible() const { return false; }

bool CWnd::ShowWindow(int) { return false; }

bool CWnd::IsIconic() const { return false; }

bool CWnd::IsZoomed() const { return false; }

HICON CWnd::SetIcon(HICON, bool) { return nullptr; }

HICON CWnd::GetIcon(bool) const { return nullptr; }

long CWnd::Send(unsigned, unsigned long, long) { return 0; }
