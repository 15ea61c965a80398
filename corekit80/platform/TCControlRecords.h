#pragma once

// CHARFORMATA, SYSTEMTIME, COleDateTime, CTime and TCKeyboardHook_KEY: the values that
// some property-dialog controls edit.

#include <cstdint>

#include "corekit80/types/TCWinTypes.h"

// Character format of a rich-text control: which fields count (dwMask), effects such as
// bold and italic (dwEffects), height and baseline offset in twips, colour, character
// set, pitch and family, and the face name.
struct CHARFORMATA {
    uint32_t cbSize;
    uint32_t dwMask;
    uint32_t dwEffects;
    int32_t yHeight;
    int32_t yOffset;
    COLORREF crTextColor;
    uint8_t bCharSet;
    uint8_t bPitchAndFamily;
    char szFaceName[LF_FACESIZE];
};

// A calendar date and time of day, field by field (wDayOfWeek 0 is Sunday).
struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

// A date and time as days since 1899-12-30 00:00, the fraction being the time of day;
// m_status 0 is valid, 1 invalid, 2 null.
struct COleDateTime {
    double m_dt;
    int32_t m_status;
};

// A time as seconds since 1970-01-01 00:00 UTC.
struct CTime {
    int64_t m_time;
};

// A hot key: the virtual-key code and its modifiers (bit 0 Shift, 1 Ctrl, 2 Alt, 3 Win).
struct TCKeyboardHook_KEY {
    uint32_t virtualKey;
    uint32_t modifiers;
};
