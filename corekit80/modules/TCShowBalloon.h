#pragma once

// TCShowBalloon and its record: balloon tips shown by the host's main window.

#include <cstdint>

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

class CWnd;

// The record of a balloon tip as the host's main window receives it (window message 40009
// with wParam 8): fourteen words, zero-filled, the words that hold addresses pointer-sized.
struct TCBALLOON_RECORD {
    enum { HOST_MESSAGE = 40009, REQUEST = 8 };
    enum { ICON_INFORMATION = 1 };
    int32_t one = 1;
    HWND parent = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t zero = 0;
    int32_t reserved5 = 0;
    const char* title = nullptr;
    int32_t reserved7 = 0;
    int32_t icon = ICON_INFORMATION;
    const char* text = nullptr;
    int32_t reserved10[4] = {};
};

// Asks the host's main window to show a balloon tip at the centre of the control controlId
// of parent, or at the centre of parent's client area when it has no such control. Without
// a parent the main window is the parent. Nothing happens without a main window.
TC_EXPORT void TCShowBalloon(CWnd* parent, int controlId, const char* title, const char* text);
