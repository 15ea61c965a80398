#pragma once

// TCColorButton, the stored state of a colour picker button.

#include "corekit80/types/TCWinTypes.h"

// The state of a colour picker button: the colour chosen, the colour the control shows,
// and the 16 custom colours offered in its colour dialog. Settings files store this
// state; drawing the button is the host's business.
struct TCColorButton {
    enum { customColorCount = 16 };

    COLORREF color = 0;
    COLORREF ctrlColor = 0;
    COLORREF customColors[customColorCount] = {};

    COLORREF& Color() { return color; }
    COLORREF Color() const { return color; }
    COLORREF GetCtrlColor() const { return ctrlColor; }
    void SetCtrlColor(COLORREF c) { ctrlColor = c; }
};
