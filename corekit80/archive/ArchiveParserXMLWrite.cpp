// The XML form of archive trees written, with escaping of texts and bytes.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCTextUtil.h"
#include "corekit80/types/TCCLocaleImpl.h"

using Data = ArchiveParser::ArchiveData;

namespace {

// Length of the well-formed UTF-8 character at p (of n bytes left) that XML may carry,
// or 0: overlong forms, surrogates, U+FFFE and U+FFFF do not count.
int XmlCharLength(const unsigned char* p, size_t n)
{
    if (p[0] < 0x80)
        return 1;
    int len = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC2 ? 2 : 0;
    if (len == 0 || p[0] > 0xF4 || size_t(len) > n)
        return 0;
    uint32_t c = p[0] & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (p[k] & 0x3F);
    }
    bool overlong = (len == 3 && c < 0x800) || (len == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF)
        return 0;
    return len;
}

// Appends text as XML character data (or an attribute value), escaped. Bytes that are no
// character XML can carry become \xHH when escapeBytes is set (string values, restored by
// the reader's unquoting), else U+FFFD.
void AppendEscaped(std::string& out, const char* text, size_t n, bool attribute, bool escapeBytes)
{
    auto* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < n;) {
        // Runs of printable ASCII that need no escaping go in one piece.
        size_t run = i;
        while (run < n && p[run] >= 0x20 && p[run] < 0x80 && p[run] != '&' && p[run] != '<' &&
               p[run] != '>' && p[run] != '"')
            ++run;
        out.append(text + i, run - i);
        if ((i = run) == n)
            break;
        unsigned char c = p[i];
        int len = XmlCharLength(p + i, n - i);
        bool control = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
        if (len == 0 || control) {
            if (escapeBytes) {
                char hex[8];
                snprintf(hex, sizeof hex, "\\x%02x", c);
                out += hex;
            } else {
                out += "\xEF\xBF\xBD";
            }
            ++i;
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += attribute ? "&quot;" : "\""; break;
        case '\t': out += attribute ? "&#9;" : "\t"; break;
        case '\n': out += attribute ? "&#10;" : "\n"; break;
        case '\r': out += attribute ? "&#13;" : "\r"; break;
        default: out.append(text + i, size_t(len));
        }
        i += size_t(len);
    }
}

void AppendAttribute(std::string& out, const char* name, const char* value)
{
    out += ' ';
    out += name;
    out += "=\"";
    if (value)
        AppendEscaped(out, value, strlen(value), true, false);
    out += '"';
}

std::string Formatted(const char* fmt, double d)
{
    char buffer[512];
    snprintf(buffer, sizeof buffer, fmt, d);
    return buffer;
}

// "%.13a" of d into buffer; finite values through the faster formatter that writes the
// same text.
const char* HexText(char (&buffer)[64], double d)
{
    if (std::isfinite(d))
        return DoubleToHexString(buffer, sizeof buffer, d);
    snprintf(buffer, sizeof buffer, "%.13a", d);
    return buffer;
}

// "%.10G" of d: to_chars writes what printf writes, in lower case.
void AppendDecimal(std::string& out, double d)
{
    char buffer[64];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general, 10).ptr;
    for (char* p = buffer; p < end; ++p)
        out += char(*p >= 'a' && *p <= 'z' ? *p - 'a' + 'A' : *p);
}

void WriteEntries(std::string& out, const Data& d, int depth)
{
    std::string indent(size_t(depth), '\t');
    for (int i = 0; i < d.entries.GetSize(); ++i) {
        const Data::Buf* e = d.entries[i];
        const char* element;
        switch (e->Type()) {
        case ArchiveParser::typeInteger: element = "integer"; break;
        case ArchiveParser::typeDouble: element = "double"; break;
        case ArchiveParser::typeString: element = "string"; break;
        case ArchiveParser::typeSubSection: element = "subsection"; break;
        default: continue; // binary entries have no XML form
        }
        const Data* child = e->Type() == ArchiveParser::typeSubSection ? Data::Of(e->child) : nullptr;
        if (e->Type() == ArchiveParser::typeSubSection && !child)
            continue;
        out.append(indent).append("<").append(element);
        AppendAttribute(out, "id", std::to_string(e->id).c_str());
        AppendAttribute(out, "description", e->description ? e->description : "");
        if (e->Type() == ArchiveParser::typeDouble) {
            char hex[64];
            AppendAttribute(out, "hex", HexText(hex, e->value.d));
        }
        if (child && child->ownVersion)
            AppendAttribute(out, "version", Formatted("%g", child->moduleVersion).c_str());
        out += '>';
        switch (e->Type()) {
        case ArchiveParser::typeInteger: out += std::to_string(e->value.i); break;
        case ArchiveParser::typeDouble: AppendDecimal(out, e->value.d); break;
        case ArchiveParser::typeString: {
            // Text without control characters and backslashes is its own quoted form.
            const char* text = e->bytes ? e->bytes : "";
            if (std::none_of(text, text + e->length, [](char c) { return (unsigned char)c < 0x20 || c == '\\'; })) {
                AppendEscaped(out, text, e->length, false, true);
                break;
            }
            TCString quoted;
            QuoteControlChar(quoted, TCString(text, int(e->length)));
            AppendEscaped(out, quoted, size_t(quoted.GetLength()), false, true);
            break;
        }
        case ArchiveParser::typeSubSection:
            out += "\r\n";
            WriteEntries(out, *child, depth + 1);
            out += indent;
            break;
        }
        out += "</";
        out += element;
        out += ">\r\n";
    }
}

// UTF-16LE bytes of valid UTF-8 text, after a byte-order mark.
std::string ToUtf16(const std::string& text)
{
    // No byte gives more than two bytes of UTF-16.
    std::string out(text.size() * 2 + 2, '\0');
    char* q = out.data();
    auto put = [&q](uint32_t u) { *q++ = char(u & 0xFF); *q++ = char(u >> 8); };
    put(0xFEFF);
    auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        // ASCII, eight bytes at a time where it can.
        uint64_t eight;
        while (i + 8 <= text.size() && (memcpy(&eight, p + i, 8), (eight & 0x8080808080808080u) == 0)) {
            for (int k = 0; k < 8; ++k)
                put(p[i + size_t(k)]);
            i += 8;
        }
        if (i < text.size() && p[i] < 0x80) {
            put(p[i++]);
            continue;
        }
        if (i == text.size())
            break;
        int len = XmlCharLength(p + i, text.size() - i);
        uint32_t c = len == 1 ? p[i] : p[i] & (0x7F >> len);
        for (int k = 1; k < len; ++k)
            c = c << 6 | (p[i + k] & 0x3F);
        i += size_t(len ? len : 1);
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    out.resize(size_t(q - out.data()));
    return out;
}

} // namespace

bool Data::WriteXML(CArchive& ar) const
{
    TCCLocaleScope c;
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"yes\"?>\r\n"
                       "<subsection id=\"0\" description=\"FLOWDECK Signal graph\">\r\n";
    WriteEntries(text, *this, 1);
    text += "</subsection>\r\n";
    std::string bytes = ToUtf16(text);
    ar.Write(bytes.data(), unsigned(bytes.size()));
    return true;
}
