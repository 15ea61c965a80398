#pragma once

// TCLogFont, a logical font with its text colour.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// A logical font: the window system's font description followed by the colour the
// text is drawn in. Heights are in device units; negative heights give the character
// height, as the window system reads them. Every device counts as 96 pixels per inch.
class TC_EXPORT TCLogFont : public LOGFONTA {
public:
    // A 10-point "Tahoma" of weight 400 on the screen; every other field 0.
    TCLogFont();
    TCLogFont(const LOGFONTA& font);
    TCLogFont& operator=(const LOGFONTA& font);

    // Sets the height of a font of the given size in points on the screen.
    void SetFontHeight(int points);
    // The height of a font of the given size in points on the device (null: the screen).
    static int PixelHeightToDeviceUnits(int points, HDC device = nullptr);
    // The size in points of a font of the given height on the device (null: the screen).
    static int DeviceUnitsToPixelHeight(int height, HDC device = nullptr);

    // All fields before the face name, the face name's 32 bytes and the colour agree.
    bool IsSame(const TCLogFont& other) const;
    // Every field agrees, the face names compared as texts.
    static bool IsEqual(const TCLogFont& a, const TCLogFont& b);

    COLORREF m_Color;
};
