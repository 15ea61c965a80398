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

TCString Xml(const char* text)
{
    const TCString line = Line(text);
    TCString xml;
    for (int i = 0; i < line.GetLength(); ++i) {
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
