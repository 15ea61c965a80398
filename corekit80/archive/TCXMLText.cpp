#include "corekit80/archive/TCXML.h"

#include "corekit80/foundation/TCTextUtil.h"

TCString TCXML::QuoteNodeTextString(const TCString& s)
{
    TCString out;
    return QuoteControlChar(out, s);
}

bool TCXML::UnquoteNodeTextString(TCString& s)
{
    TCString out;
    const bool ok = UnQuoteEscapeChar(out, s);
    s = static_cast<TCString&&>(out);
    return ok;
}

void TCXML::QuoteBoundSpaces(TCString& s)
{
    if (s.IsEmpty())
        return;
    if (s[0] == ' ')
        s = "\\x20" + s.Mid(1);
    if (s[s.GetLength() - 1] == ' ')
        s = s.Left(s.GetLength() - 1) + "\\x20";
}

TCString TCXML::PrepareXPathSearchString(const TCString& s, bool quote, bool quoteBoundSpaces)
{
    TCString r = s;
    if (quote) {
        r = QuoteNodeTextString(s);
        if (quoteBoundSpaces)
            QuoteBoundSpaces(r);
    }
    r.TrimLeft();
    r.TrimRight();
    TCString out("\"");
    for (int i = 0; i < r.GetLength(); ++i) {
        const char c = r[i];
        if (c == '\\' || c == '"' || c == '\'')
            out += '\\';
        out += c;
    }
    return out + "\"";
}
