// TCLogFont: construction, point and device-unit heights, and comparison.
#include "corekit80/foundation/TCLogFont.h"

#include <cstdlib>
#include <cstring>

static_assert(sizeof(LOGFONTA) == 60, "the font description has no padding, so IsSame compares its bytes");

namespace {

const int kPixelsPerInch = 96;

// a * b / c rounded half away from zero, as the window system's helper does it.
int MulDiv(int a, int b, int c)
{
    long long product = static_cast<long long>(a) * b;
    long long quotient = (std::llabs(product) + std::llabs(static_cast<long long>(c)) / 2) /
                         std::llabs(static_cast<long long>(c));
    return static_cast<int>((product < 0) != (c < 0) ? -quotient : quotient);
}

}  // namespace

TCLogFont::TCLogFont() : LOGFONTA{}, m_Color(0)
{
    lfHeight = PixelHeightToDeviceUnits(10);
    lfWeight = 400;
    std::strcpy(lfFaceName, "Tahoma");
}

TCLogFont::TCLogFont(const LOGFONTA& font) : LOGFONTA(font), m_Color(0) {}

TCLogFont& TCLogFont::operator=(const LOGFONTA& font)
{
    LOGFONTA::operator=(font);
    return *this;
}

void TCLogFont::SetFontHeight(int points) { lfHeight = PixelHeightToDeviceUnits(points); }

int TCLogFont::PixelHeightToDeviceUnits(int points, HDC) { return -MulDiv(points, kPixelsPerInch, 72); }

int TCLogFont::DeviceUnitsToPixelHeight(int height, HDC) { return -MulDiv(height, 72, kPixelsPerInch); }

bool TCLogFont::IsSame(const TCLogFont& other) const
{
    return std::memcmp(static_cast<const LOGFONTA*>(this), static_cast<const LOGFONTA*>(&other),
                       sizeof(LOGFONTA)) == 0 &&
           m_Color == other.m_Color;
}

bool TCLogFont::IsEqual(const TCLogFont& a, const TCLogFont& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight &&
           a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
           a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0 && a.m_Color == b.m_Color;
}
