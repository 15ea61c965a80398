#pragma once

// Window-system types of the library's signatures: handles, COLORREF, LOGFONTA, POINT, RECT.

#include <cstdint>

// Stand-ins for the window-system types that appear in the library's signatures. They
// keep the names and field layouts hosts and module authors know; the handles are
// opaque pointers the library never dereferences.

// A window of the host's user interface.
struct HWND__;
typedef struct HWND__* HWND;

// A loaded module library (also its string resources); null stands for the library itself.
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;

// A device context: an output device such as the screen or a printer.
struct HDC__;
typedef struct HDC__* HDC;

// Security attributes of created files and directories (not used on this platform).
struct SECURITY_ATTRIBUTES;

// A colour as 0x00BBGGRR.
typedef uint32_t COLORREF;

enum { LF_FACESIZE = 32 };

// The logical-font description: sizes in device units, the face name zero-terminated.
struct LOGFONTA {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};

// A point, a size and a rectangle in device units, as the window system passes them.
struct POINT {
    int32_t x;
    int32_t y;
};

struct SIZE {
    int32_t cx;
    int32_t cy;
};

struct RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Show commands of a window placement.
enum { SW_HIDE = 0, SW_SHOW = 5 };

// Where a window sits: its show command, minimized and maximized positions and its
// rectangle when neither minimized nor maximized. length holds sizeof(WINDOWPLACEMENT).
struct WINDOWPLACEMENT {
    uint32_t length;
    uint32_t flags;
    uint32_t showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
