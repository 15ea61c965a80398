#pragma once

// HDC__, the device context a window's background is erased through.

#include <vector>

#include "corekit80/types/TCWinTypes.h"

// A device context as erasing a background sees it: the area to paint, in the window's
// client coordinates, less the rectangles excluded from it. The window (or a host's
// painter) fills what remains.
struct HDC__ {
    RECT clip{};
    std::vector<RECT> excluded;

    void ExcludeClipRect(const RECT& rect) { excluded.push_back(rect); }
};
