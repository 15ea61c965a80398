// The base CWnd, which has no window behind it: placement calls fail.
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
