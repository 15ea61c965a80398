// Reading the edits a dialog host is given.
#include "corekit80/propertydialog/TCPropertyEditTextImpl.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "corekit80/types/TCCLocaleImpl.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void SkipBlanks(const char*& text)
{
    while (IsBlank(*text))
        ++text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A caption of the path or the value, trimmed.
TCString Trimmed(const TCString& text)
{
    TCString trimmed(text);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}
} // namespace

bool TCPropertyParseEdit(const char* edit, std::vector<TCString>& path, TCString& value, TCString& error)
{
    path.clear();
    TCString caption;
    const char* p = edit ? edit : "";
    for (; *p && *p != '='; ++p) {
        if (*p == '\\' && p[1])
            caption += *++p;
        else if (*p == '/') {
            path.push_back(Trimmed(caption));
            caption.Empty();
        } else
            caption += *p;
    }
    path.push_back(Trimmed(caption));
    if (*p != '=') {
        error = "no \"=\" between the path and the value";
        return false;
    }
    for (const TCString& step : path) {
        if (step.IsEmpty()) {
            error = "an empty caption in the path";
            return false;
        }
    }
    const char* rest = p + 1;
    SkipBlanks(rest);
    // A value that is one quoted text is that text; any other is taken as it stands.
    const char* quoted = rest;
    if (*quoted == '"' && TCPropertyReadQuoted(quoted, value) && !*quoted)
        return true;
    value = Trimmed(rest);
    return true;
}

bool TCPropertyReadQuoted(const char*& text, TCString& out)
{
    const char* p = text;
    if (*p++ != '"')
        return false;
    TCString result;
    for (; *p && *p != '"'; ++p) {
        if (*p != '\\') {
            result += *p;
            continue;
        }
        switch (*++p) {
        case 'n': result += '\n'; break;
        case 'r': result += '\r'; break;
        case 't': result += '\t'; break;
        case 'x': {
            const int high = HexDigit(p[1]);
            const int low = high >= 0 ? HexDigit(p[2]) : -1;
            if (low < 0)
                return false;
            result += char(high * 16 + low);
            p += 2;
            break;
        }
        case '"': case '\\': result += *p; break;
        default: return false;
        }
    }
    if (*p != '"')
        return false;
    text = p + 1;
    SkipBlanks(text);
    out = result;
    return true;
}

bool TCPropertyReadWord(const char*& text, TCString& out)
{
    if (*text == '"')
        return TCPropertyReadQuoted(text, out);
    const char* end = text;
    while (*end && !IsBlank(*end))
        ++end;
    if (end == text)
        return false;
    out = TCString(text, int(end - text));
    text = end;
    SkipBlanks(text);
    return true;
}

bool TCPropertyReadInteger(const char*& text, int64_t min, int64_t max, int64_t& out)
{
    if (IsBlank(*text) || !*text)
        return false;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, hex ? 16 : 10);
    if (end == text || errno == ERANGE || value < min || value > max || (*end && !IsBlank(*end)))
        return false;
    out = value;
    text = end;
    SkipBlanks(text);
    return true;
}

bool TCPropertyReadNumber(const char*& text, double& out)
{
    if (IsBlank(*text) || !*text)
        return false;
    char* end = nullptr;
    const double value = strtod_l(text, &end, TCCLocale());
    if (end == text || !std::isfinite(value) || (*end && !IsBlank(*end)))
        return false;
    out = value;
    text = end;
    SkipBlanks(text);
    return true;
}
