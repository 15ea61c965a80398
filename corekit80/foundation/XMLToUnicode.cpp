// XMLToUnicode: an XML byte stream decoded to UTF-16 by its byte-order mark or declaration.
#include "corekit80/foundation/TCTextUtil.h"

#include <climits>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <string_view>

#include "corekit80/types/TCCodePage.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

const char16_t* Units(const TCString& s)
{
    return reinterpret_cast<const char16_t*>(static_cast<const char*>(s));
}

const char16_t* FromUtf8(TCString& out, const char* p, int n)
{
    return out.ToUnicode(p, n, TC_CP_UTF8);
}

// The buffer holds UTF-16LE code units; these read and write them bytewise.
char16_t UnitAt(const char* d, int i)
{
    return char16_t(static_cast<unsigned char>(d[2 * i]) | static_cast<unsigned char>(d[2 * i + 1]) << 8);
}

void SetUnit(char* d, int i, char16_t u)
{
    d[2 * i] = char(u & 0xFF);
    d[2 * i + 1] = char(u >> 8);
}

void ReplaceLoneSurrogates(char* d, int units)
{
    for (int i = 0; i < units; ++i) {
        const char16_t u = UnitAt(d, i);
        if (u < 0xD800 || u > 0xDFFF)
            continue;
        if (u <= 0xDBFF && i + 1 < units && UnitAt(d, i + 1) >= 0xDC00 && UnitAt(d, i + 1) <= 0xDFFF)
            ++i;
        else
            SetUnit(d, i, 0xFFFD);
    }
}

// n bytes of UTF-16 after the byte-order mark. An odd last byte is completed with a zero
// byte, the one that ended the text when it was measured up to its first zero byte. The
// length counts the zero unit, as the byte count of the input counted the mark.
const char16_t* FromUtf16(TCString& out, const char* p, int n, bool bigEndian)
{
    const int units = (n + 1) / 2;
    char* d = out.GetBuffer(2 * units + 2);
    std::memcpy(d, p, size_t(n));
    d[n] = 0;
    d[2 * units] = d[2 * units + 1] = 0;
    if (bigEndian)
        for (int i = 0; i < units; ++i)
            std::swap(d[2 * i], d[2 * i + 1]);
    ReplaceLoneSurrogates(d, units);
    out.ReleaseBuffer(2 * units + 2);
    return Units(out);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (TCToLower(a[i]) != TCToLower(b[i]))
            return false;
    return true;
}

// The encoding named by the XML declaration: the quoted text after "encoding" between
// "<?" and "?>", trimmed; empty when there is none.
std::string DeclaredEncoding(std::string_view xml)
{
    const size_t open = xml.find("<?");
    if (open == std::string_view::npos)
        return {};
    const size_t close = xml.find("?>", open + 2);
    if (close == std::string_view::npos)
        return {};
    std::string_view decl = xml.substr(open + 2, close - open - 2);
    const size_t key = decl.find("encoding");
    if (key == std::string_view::npos)
        return {};
    decl.remove_prefix(key + 8);
    const size_t q1 = decl.find_first_of("\"'");
    if (q1 == std::string_view::npos)
        return {};
    const size_t q2 = decl.find(decl[q1], q1 + 1);
    if (q2 == std::string_view::npos)
        return {};
    std::string_view name = decl.substr(q1 + 1, q2 - q1 - 1);
    while (!name.empty() && TCIsSpace(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && TCIsSpace(name.back()))
        name.remove_suffix(1);
    return std::string(name);
}

// Converts with the declared charset; null when the charset is unknown or cannot be what
// the text is in: the declaration was read as ASCII, so the charset must read "<?" as such
// (this sets aside UTF-16, UTF-32 and EBCDIC names declared in 8-bit text).
const char16_t* FromCharset(TCString& out, const char* charset, const char* p, int n)
{
    char16_t probe[2];
    if (TCCharsetToWideChar(charset, "<?", 2, probe, 2) != 2 || probe[0] != u'<' || probe[1] != u'?')
        return nullptr;
    const int units = TCCharsetToWideChar(charset, p, n, nullptr, 0);
    if (units < 0 || units > (INT_MAX - 2) / 2)
        return nullptr;
    char* d = out.GetBuffer(2 * units + 1);
    const int written = TCCharsetToWideChar(charset, p, n, reinterpret_cast<char16_t*>(d), units);
    if (written < 0)
        return nullptr;
    d[2 * written] = d[2 * written + 1] = 0;
    ReplaceLoneSurrogates(d, written);
    out.ReleaseBuffer(2 * written);
    return Units(out);
}

bool Overlaps(const TCString& s, const char* p, size_t n)
{
    const char* b = s;
    const std::less<const char*> before;
    return before(p, b + s.GetAllocLength()) && before(b, p + n);
}

}  // namespace

const char16_t* XMLToUnicode(TCString& out, const char* xml)
{
    return XMLToUnicode(out, xml, -1);
}

const char16_t* XMLToUnicode(TCString& out, const char* xml, int n)
{
    if (!xml)
        return FromUtf8(out, "", 0);
    const size_t length = n < 0 ? std::strlen(xml) : size_t(n);
    if (length > size_t(INT_MAX) - 2)
        throw std::bad_alloc();  // no TCString could hold the result
    if (Overlaps(out, xml, length)) {
        const TCString copy(xml, int(length));
        return XMLToUnicode(out, copy, copy.GetLength());
    }
    n = int(length);

    const auto* b = reinterpret_cast<const unsigned char*>(xml);
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return FromUtf8(out, xml + 3, n - 3);
    if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF)))
        return FromUtf16(out, xml + 2, n - 2, b[0] == 0xFE);

    // Without a declared charset, or with one that cannot be used, the text is taken to
    // be in the process code page, UTF-8.
    const std::string charset = DeclaredEncoding(std::string_view(xml, length));
    if (!charset.empty() && !EqualsNoCase(charset, "UTF-8"))
        if (const char16_t* r = FromCharset(out, charset.c_str(), xml, n))
            return r;
    return FromUtf8(out, xml, n);
}
