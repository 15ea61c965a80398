// ArchiveParser::Serialize for each value type, records and window placement.
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>

#include "corekit80/archive/ArchiveParserImpl.h"

namespace {

// Serializes v through the 32-bit integer value; cast back to T on return.
template <class T> bool ThroughInt(ArchiveParser& p, unsigned short id, const char* description, T& v)
{
    int x = int(v);
    bool found = p.Serialize(id, description, x);
    if (found)
        v = T(x);
    return found;
}

// Rounded half away from zero; out of range clamped, NaN 0.
int32_t RoundToInt(double d)
{
    if (std::isnan(d))
        return 0;
    d = std::round(d);
    return d >= 2147483647.0 ? INT32_MAX : d <= -2147483648.0 ? INT32_MIN : int32_t(d);
}

} // namespace

bool ArchiveParser::Serialize(unsigned short id, const char* description, bool& value)
{
    int x = value;
    bool found = Serialize(id, description, x);
    if (found)
        value = x != 0;
    return found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, char& value)
{
    return ThroughInt(*this, id, description, value);
}
bool ArchiveParser::Serialize(unsigned short id, const char* description, unsigned char& value)
{
    return ThroughInt(*this, id, description, value);
}
bool ArchiveParser::Serialize(unsigned short id, const char* description, short& value)
{
    return ThroughInt(*this, id, description, value);
}
bool ArchiveParser::Serialize(unsigned short id, const char* description, unsigned short& value)
{
    return ThroughInt(*this, id, description, value);
}
bool ArchiveParser::Serialize(unsigned short id, const char* description, unsigned int& value)
{
    return ThroughInt(*this, id, description, value);
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, long& value)
{
    // Long is 64-bit here, the stored value 32-bit: sign-extended back.
    int32_t x = int32_t(value);
    bool found = ThroughInt(*this, id, description, x);
    if (found)
        value = x;
    return found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, unsigned long& value)
{
    uint32_t x = uint32_t(value);
    bool found = ThroughInt(*this, id, description, x);
    if (found)
        value = x;
    return found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, float& value)
{
    double x = value;
    bool found = Serialize(id, description, x);
    if (found)
        value = float(x);
    return found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, LOGFONTA& font, double scale)
{
    ArchiveParser* s = SubSection(id, description, false);
    double ratio = 0.0;
    if (IsLoading()) {
        s->Serialize(1, "Height", font.lfHeight);
        s->Serialize(2, "Width", font.lfWidth);
    } else {
        ratio = font.lfHeight / scale;
    }
    bool ok = s->Serialize(15, "Height", ratio);
    ok &= s->Serialize(16, "Width", font.lfWidth);
    if (IsLoading() && ratio != 0.0)
        font.lfHeight = RoundToInt(ratio * scale);
    ok &= s->Serialize(3, "Escapement", font.lfEscapement);
    ok &= s->Serialize(4, "Orientation", font.lfOrientation);
    ok &= s->Serialize(5, "Weight", font.lfWeight);
    ok &= s->Serialize(6, "Italic", font.lfItalic);
    ok &= s->Serialize(7, "Underline", font.lfUnderline);
    ok &= s->Serialize(8, "StrikeOut", font.lfStrikeOut);
    ok &= s->Serialize(9, "CharSet", font.lfCharSet);
    ok &= s->Serialize(10, "OutPrecision", font.lfOutPrecision);
    ok &= s->Serialize(11, "ClipPrecision", font.lfClipPrecision);
    ok &= s->Serialize(12, "Quality", font.lfQuality);
    ok &= s->Serialize(13, "PitchAndFamily", font.lfPitchAndFamily);
    TCString face(font.lfFaceName, int(strnlen(font.lfFaceName, LF_FACESIZE)));
    bool found = s->Serialize(14, "FaceName", face);
    if (found && IsLoading()) {
        size_t n = strnlen(face, LF_FACESIZE - 1);
        memcpy(font.lfFaceName, (const char*)face, n);
        font.lfFaceName[n] = 0;
    }
    return ok && found;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, LOGFONTA& font, const TC_Metric&)
{
    return Serialize(id, description, font, -1.0);
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, WINDOWPLACEMENT& wp)
{
    ArchiveParser* s = SubSection(id, description, false);
    bool ok = s->Serialize(1, "Length", wp.length);
    ok &= s->Serialize(2, "Flags", wp.flags);
    ok &= s->Serialize(3, "ShowCmd", wp.showCmd);
    ok &= s->Serialize(4, "PtMinPos.x", wp.ptMinPosition.x);
    ok &= s->Serialize(5, "PtMinPos.y", wp.ptMinPosition.y);
    ok &= s->Serialize(6, "PtMaxPos.x", wp.ptMaxPosition.x);
    ok &= s->Serialize(7, "PtMaxPos.y", wp.ptMaxPosition.y);
    ok &= s->Serialize(8, "PtNormPos.l", wp.rcNormalPosition.left);
    ok &= s->Serialize(9, "PtNormPos.t", wp.rcNormalPosition.top);
    ok &= s->Serialize(10, "PtNormPos.r", wp.rcNormalPosition.right);
    ok &= s->Serialize(11, "PtNormPos.b", wp.rcNormalPosition.bottom);
    return ok;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, CPoint& point)
{
    ArchiveParser* s = SubSection(id, description, false);
    bool ok = s->Serialize(1, "X", point.x);
    ok &= s->Serialize(2, "Y", point.y);
    return ok;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, CSize& size)
{
    ArchiveParser* s = SubSection(id, description, false);
    bool ok = s->Serialize(1, "CX", size.cx);
    ok &= s->Serialize(2, "CY", size.cy);
    return ok;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, CRect& rect)
{
    ArchiveParser* s = SubSection(id, description, false);
    bool ok = s->Serialize(1, "Top", rect.top);
    ok &= s->Serialize(2, "Left", rect.left);
    ok &= s->Serialize(3, "Bottom", rect.bottom);
    ok &= s->Serialize(4, "Right", rect.right);
    return ok;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, CWnd* window)
{
    if (!window)
        ArchiveFatal(m_data, "Error accessing window at %s!");
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!window->GetWindowPlacement(&wp))
        return false;
    bool ok = Serialize(id, description, wp);
    if (IsLoading()) {
        wp.showCmd = SW_HIDE;
        if (!window->SetWindowPlacement(&wp))
            return false;
    }
    return ok;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, CWnd* window, bool hidden,
                              unsigned int& showCmd)
{
    if (!window)
        ArchiveFatal(m_data, "Error accessing window at %s!");
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!window->GetWindowPlacement(&wp))
        return false;
    const bool loading = IsLoading();
    if (!loading)
        showCmd = wp.showCmd;
    if (hidden)
        wp.showCmd = SW_HIDE;
    bool ok = Serialize(id, description, wp);
    if (loading)
        showCmd = wp.showCmd;
    if (hidden)
        wp.showCmd = SW_HIDE;
    else if (wp.showCmd == SW_HIDE)
        wp.showCmd = SW_SHOW;
    if (loading && !window->SetWindowPlacement(&wp))
        return false;
    return ok;
}

bool ArchiveParser::Serialize(unsigned short id, const char* description, TCColorButton& button,
                              bool customColors)
{
    if (!customColors) {
        if (Serialize(id, description, button.Color())) {
            if (IsLoading())
                button.SetCtrlColor(button.Color());
            return true;
        }
        if (!IsLoading())
            ArchiveFatal(m_data, "Error converting TCColorButton without custom colors at %s!");
        return false;
    }
    ArchiveParser* s = SubSection(id, description, false);
    bool ok = s->Serialize(1, "Color", button.Color());
    if (ok && IsLoading())
        button.SetCtrlColor(button.Color());
    ArchiveParser* custom = s->SubSection(2, "Custom Colors", true);
    for (int i = 0; i < TCColorButton::customColorCount; ++i) {
        char text[32];
        snprintf(text, sizeof text, "Custom Color %d", i);
        ok &= custom->Serialize(static_cast<unsigned short>(i), text, button.customColors[i]);
    }
    return ok;
}
