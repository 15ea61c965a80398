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
