#pragma once

// The window messages the library's dialogs handle, their records, and TCWindowHandler.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

class CWnd;

// Messages, numbered as the window system numbers them. TCWM_CREATED is the library's
// own: it follows WM_INITDIALOG once the dialog has initialised itself, its controls
// registered, so that what depends on the designed layout happens after it.
enum : unsigned {
    WM_DESTROY = 0x0002,        // the window goes away
    WM_SIZE = 0x0005,           // wParam a SIZE_ kind, lParam the client size (TCSizeParam)
    WM_ERASEBKGND = 0x0014,     // wParam the HDC; non-zero answer: erased by the handler
    WM_GETMINMAXINFO = 0x0024,  // lParam a MINMAXINFO* to adjust
    WM_INITDIALOG = 0x0110,     // the dialog's own initialisation
    TCWM_CREATED = 0xBF80
};

// Kinds of size notification.
enum { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// The lParam of WM_SIZE: width in the low 16 bits, height in the next 16.
inline long TCSizeParam(int width, int height)
{
    return static_cast<long>((static_cast<unsigned long>(height & 0xFFFF) << 16) | (width & 0xFFFF));
}
inline int TCSizeParamWidth(long lParam) { return static_cast<int>(lParam & 0xFFFF); }
inline int TCSizeParamHeight(long lParam) { return static_cast<int>((lParam >> 16) & 0xFFFF); }

// The sizes a window may take, asked of its handler before the user resizes or maximises
// it: maximised size and position, and the smallest and largest size the user may drag.
// All are outer sizes, frame included.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

// What a window runs its messages through: the dialog class behind a window. The window
// does its default handling after the handler answers 0.
class TC_EXPORT TCWindowHandler {
public:
    virtual ~TCWindowHandler() = default;
    virtual long OnMessage(CWnd* window, unsigned message, unsigned long wParam, long lParam) = 0;
};
