// The texts of a signal in the writers' files.
#include "SignalText.h"

#include <cstring>

namespace SignalText {

TCString Unit(const TCSI_Unit& unit)
{
    TCString text;
    unit.ToString(text);
    return text;
}

TCString Line(const char* text)
{
    TCString line = text;
    for (int i = 0; i < line.GetLength(); ++i)
        if (static_cast<unsigned char>(line[i]) < 0x20 || line[i] == 0x7F)
            line.SetAt(i, ' ');
    return line;
}

TCString CsvField(const char* text)
{
    const TCString line = Line(text);
    if (!std::strpbrk(line, ",\""))
        return line;
    TCString quoted = "\"";
    for (int i = 0; i < line.GetLength(); ++i) {
        if (line[i] == '"')
            quoted += '"';
        quoted += line[i];
    }
    quoted += '"';
    return quoted;
}

namespace {

// The length of the well-formed UTF-8 character at text[i] (1 for ASCII), 0 when there is none.
int CharLength(const TCString& text, int i)
{
    const auto byte = [&](int k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The second byte's range excludes overlong forms, surrogates and code points above U+10FFFF.
    int n = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        lo = lead == 0xE0 ? 0xA0 : 0x80;
        hi = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        lo = lead == 0xF0 ? 0x90 : 0x80;
        hi = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (n == 0 || i + n > text.GetLength() || byte(1) < lo || byte(1) > hi)
        return 0;
    for (int k = 2; k < n; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    return n;
}

}  // namespace

TCString Xml(const char* text)
{
    const TCString line = Line(text);
    TCString xml;
    for (int i = 0; i < line.GetLength(); ++i) {
        const int n = CharLength(line, i);
        if (n != 1) {
            if (n == 0)
                xml += '?';
            for (int k = 0; k < n; ++k)
                xml += line[i + k];
            i += n ? n - 1 : 0;
            continue;
        }
        switch (line[i]) {
        case '&': xml += "&amp;"; break;
        case '<': xml += "&lt;"; break;
        case '>': xml += "&gt;"; break;
        case '"': xml += "&quot;"; break;
        default: xml += line[i];
        }
    }
    return xml;
}

}  // namespace SignalText
