// Code-page conversion: UTF-8 and UTF-16 by hand, other code pages and charset names by iconv.
#include "corekit80/types/TCCodePage.h"

#include "corekit80/types/TCMbcsImpl.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr size_t kNameMax = 40;
const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

// iconv's name for UTF-16 in the byte order of char16_t.
constexpr const char* kNativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Windows code page numbers and the names glibc's iconv knows them by, sorted by number.
// The symbolic code pages of the process (0), the console (1) and the thread (3) are all
// UTF-8 here; that of Mac text (2) is Mac Roman.
struct CodePageName {
    unsigned codePage;
    const char* name;
};
constexpr CodePageName kCodePages[] = {
    {0, "UTF-8"},          {1, "UTF-8"},          {2, "MACINTOSH"},      {3, "UTF-8"},
    {37, "IBM037"},        {437, "IBM437"},       {500, "IBM500"},       {708, "ISO-8859-6"},
    {737, "CP737"},        {775, "CP775"},        {850, "IBM850"},       {852, "IBM852"},
    {855, "IBM855"},       {857, "IBM857"},       {858, "IBM858"},       {860, "IBM860"},
    {861, "IBM861"},       {862, "IBM862"},       {863, "IBM863"},       {864, "IBM864"},
    {865, "IBM865"},       {866, "IBM866"},       {869, "IBM869"},       {870, "IBM870"},
    {874, "CP874"},        {875, "CP875"},        {932, "CP932"},        {936, "CP936"},
    {949, "CP949"},        {950, "CP950"},        {1026, "IBM1026"},     {1047, "IBM1047"},
    {1140, "IBM1140"},     {1141, "IBM1141"},     {1142, "IBM1142"},     {1143, "IBM1143"},
    {1144, "IBM1144"},     {1145, "IBM1145"},     {1146, "IBM1146"},     {1147, "IBM1147"},
    {1148, "IBM1148"},     {1149, "IBM1149"},     {1200, "UTF-16LE"},    {1201, "UTF-16BE"},
    {1250, "CP1250"},      {1251, "CP1251"},      {1252, "CP1252"},      {1253, "CP1253"},
    {1254, "CP1254"},      {1255, "CP1255"},      {1256, "CP1256"},      {1257, "CP1257"},
    {1258, "CP1258"},      {1361, "JOHAB"},       {10000, "MACINTOSH"},  {10007, "MAC-CYRILLIC"},
    {10029, "MAC-CENTRALEUROPE"}, {12000, "UTF-32LE"}, {12001, "UTF-32BE"}, {20127, "ASCII"},
    {20273, "IBM273"},     {20277, "IBM277"},     {20278, "IBM278"},     {20280, "IBM280"},
    {20284, "IBM284"},     {20285, "IBM285"},     {20290, "IBM290"},     {20297, "IBM297"},
    {20420, "IBM420"},     {20423, "IBM423"},     {20424, "IBM424"},     {20866, "KOI8-R"},
    {20871, "IBM871"},     {20880, "IBM880"},     {20905, "IBM905"},     {20932, "EUC-JP"},
    {20936, "GB2312"},     {21866, "KOI8-U"},     {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"}, {28594, "ISO-8859-4"}, {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"}, {28598, "ISO-8859-8"}, {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"}, {28606, "ISO-8859-16"}, {38598, "ISO-8859-8"}, {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP"}, {50222, "ISO-2022-JP"}, {50225, "ISO-2022-KR"}, {51932, "EUC-JP"},
    {51936, "GB2312"},     {51949, "EUC-KR"},     {54936, "GB18030"},    {65000, "UTF-7"},
    {65001, "UTF-8"},
};

// Charset names converted by our own code, and names that Windows writers use for the
// Windows code pages rather than for the standards of the same name (Shift_JIS with a
// backslash at 0x5C, GBK for GB2312, ...).
struct CharsetAlias {
    const char* name;
    unsigned codePage;
};
constexpr CharsetAlias kCharsetAliases[] = {
    {"utf-8", 65001},    {"utf8", 65001},           {"utf-16le", 1200},     {"utf-16be", 1201},
    {"shift_jis", 932},  {"shift-jis", 932},        {"sjis", 932},          {"x-sjis", 932},
    {"ms_kanji", 932},   {"windows-31j", 932},      {"csshiftjis", 932},    {"gb2312", 936},
    {"x-gbk", 936},      {"big5", 950},             {"ks_c_5601-1987", 949},
};

// How one charset is converted: by our own code or by iconv under a name.
struct Charset {
    enum Kind { Unknown, Utf8, Utf16LE, Utf16BE, Utf16Bom, Iconv } kind = Unknown;
    const char* iconvName = nullptr;
};

Charset CharsetOfCodePage(unsigned codePage)
{
    const char* name = TCCodePageName(codePage);
    if (!name)
        return {};
    if (std::strcmp(name, "UTF-8") == 0)
        return {Charset::Utf8, name};
    if (codePage == TC_CP_UTF16LE)
        return {Charset::Utf16LE, name};
    if (codePage == TC_CP_UTF16BE)
        return {Charset::Utf16BE, name};
    return {Charset::Iconv, name};
}

// ---------------------------------------------------------------------------------------
// UTF-8 and UTF-16 by our own code

// Decodes the character at p (n > 0 bytes available); returns its length, 0 when invalid.
inline int DecodeUtf8(const unsigned char* p, size_t n, char32_t& cp)
{
    const unsigned b0 = p[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if (b0 < 0xC2)  // a continuation byte, or the lead of an overlong two-byte form
        return 0;
    if (b0 < 0xE0) {
        if (n < 2 || (p[1] & 0xC0) != 0x80)
            return 0;
        cp = ((b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    // The second byte's range excludes overlong forms, surrogates and values above U+10FFFF.
    const unsigned lo = b0 == 0xE0 ? 0xA0 : b0 == 0xF0 ? 0x90 : 0x80;
    const unsigned hi = b0 == 0xED ? 0x9F : b0 == 0xF4 ? 0x8F : 0xBF;
    if (b0 < 0xF0) {
        if (n < 3 || p[1] < lo || p[1] > hi || (p[2] & 0xC0) != 0x80)
            return 0;
        cp = ((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 < 0xF5) {
        if (n < 4 || p[1] < lo || p[1] > hi || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80)
            return 0;
        cp = ((b0 & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

inline bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Output of a conversion: counts only, or writes into a bounded buffer.
template <class T> class Sink {
public:
    Sink(T* dst, size_t cap) : m_dst(dst), m_cap(cap) {}
    bool Put(T v)
    {
        if (m_dst) {
            if (m_n == m_cap)
                return false;
            m_dst[m_n] = v;
        }
        ++m_n;
        return true;
    }
    bool PutScalar(char32_t cp);  // UTF-16 or UTF-8 form of a scalar value
    size_t Count() const { return m_n; }

private:
    T* m_dst;
    size_t m_cap;
    size_t m_n = 0;
};

// The UTF-16 form of a scalar value: one unit, or a surrogate pair.
inline int ToUtf16Units(char32_t cp, char16_t units[2])
{
    if (cp < 0x10000) {
        units[0] = static_cast<char16_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

template <> bool Sink<char16_t>::PutScalar(char32_t cp)
{
    char16_t units[2];
    const int n = ToUtf16Units(cp, units);
    return Put(units[0]) && (n == 1 || Put(units[1]));
}

template <> bool Sink<char>::PutScalar(char32_t cp)
{
    if (cp < 0x80)
        return Put(static_cast<char>(cp));
    if (cp < 0x800)
        return Put(static_cast<char>(0xC0 | (cp >> 6))) && Put(static_cast<char>(0x80 | (cp & 0x3F)));
    if (cp < 0x10000)
        return Put(static_cast<char>(0xE0 | (cp >> 12))) &&
               Put(static_cast<char>(0x80 | ((cp >> 6) & 0x3F))) &&
               Put(static_cast<char>(0x80 | (cp & 0x3F)));
    return Put(static_cast<char>(0xF0 | (cp >> 18))) && Put(static_cast<char>(0x80 | ((cp >> 12) & 0x3F))) &&
           Put(static_cast<char>(0x80 | ((cp >> 6) & 0x3F))) && Put(static_cast<char>(0x80 | (cp & 0x3F)));
}

// Returns the number of units, or -1 when dst is too small.
long long Utf8ToUtf16(const unsigned char* s, size_t n, char16_t* dst, size_t cap)
{
    Sink<char16_t> out(dst, cap);
    size_t i = 0;
    while (i < n) {
        // Runs of ASCII go eight bytes at a time.
        for (uint64_t word; i + 8 <= n; i += 8) {
            std::memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ull)
                break;
            for (int k = 0; k < 8; ++k)
                if (!out.Put(s[i + k]))
                    return -1;
        }
        if (i == n)
            break;
        char32_t cp;
        int len = DecodeUtf8(s + i, n - i, cp);
        if (len == 0) {
            cp = kReplacement;
            len = 1;
        }
        if (!out.PutScalar(cp))
            return -1;
        i += len;
    }
    return static_cast<long long>(out.Count());
}

// Reads UTF-16 units through unit(i); a lone surrogate reads as U+FFFD.
template <class UnitAt> char32_t NextScalar(UnitAt unit, size_t n, size_t& i)
{
    const char32_t c = unit(i++);
    if (IsHighSurrogate(c) && i < n && IsLowSurrogate(unit(i)))
        return 0x10000 + ((c - 0xD800) << 10) + (unit(i++) - 0xDC00);
    return IsHighSurrogate(c) || IsLowSurrogate(c) ? kReplacement : c;
}

long long Utf16ToUtf8(const char16_t* s, size_t n, char* dst, size_t cap)
{
    Sink<char> out(dst, cap);
    const auto unit = [s](size_t i) { return s[i]; };
    for (size_t i = 0; i < n;)
        if (!out.PutScalar(NextScalar(unit, n, i)))
            return -1;
    return static_cast<long long>(out.Count());
}

// UTF-16 bytes of the given order to char16_t; a trailing odd byte becomes U+FFFD.
long long Utf16BytesToUtf16(const unsigned char* s, size_t n, bool bigEndian, char16_t* dst, size_t cap)
{
    Sink<char16_t> out(dst, cap);
    const auto unit = [s, bigEndian](size_t i) {
        const unsigned a = s[2 * i], b = s[2 * i + 1];
        return static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    const size_t units = n / 2;
    for (size_t i = 0; i < units;)
        if (!out.PutScalar(NextScalar(unit, units, i)))
            return -1;
    if (n % 2 && !out.Put(kReplacement))
        return -1;
    return static_cast<long long>(out.Count());
}

long long Utf16ToUtf16Bytes(const char16_t* s, size_t n, bool bigEndian, char* dst, size_t cap)
{
    Sink<char> out(dst, cap);
    const auto unit = [s](size_t i) { return s[i]; };
    for (size_t i = 0; i < n;) {
        char16_t units[2];
        const int count = ToUtf16Units(NextScalar(unit, n, i), units);
        for (int k = 0; k < count; ++k) {
            const char hi = static_cast<char>(units[k] >> 8), lo = static_cast<char>(units[k] & 0xFF);
            if (!out.Put(bigEndian ? hi : lo) || !out.Put(bigEndian ? lo : hi))
                return -1;
        }
    }
    return static_cast<long long>(out.Count());
}

// ---------------------------------------------------------------------------------------
// Other code pages through iconv

// Each thread keeps its last few conversion descriptors open: iconv_t is not thread-safe,
// and opening one costs a name lookup.
class IconvCache {
public:
    IconvCache() = default;
    IconvCache(const IconvCache&) = delete;
    IconvCache& operator=(const IconvCache&) = delete;
    ~IconvCache()
    {
        for (Entry& e : m_entries)
            if (e.cd != kNoIconv)
                iconv_close(e.cd);
    }

    // A descriptor in its initial state, or kNoIconv when iconv does not know the names.
    iconv_t Get(const char* to, const char* from)
    {
        ++m_clock;
        for (Entry& e : m_entries) {
            if (e.cd != kNoIconv && std::strcmp(e.to, to) == 0 && std::strcmp(e.from, from) == 0) {
                e.lastUse = m_clock;
                iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
                return e.cd;
            }
        }
        const iconv_t cd = iconv_open(to, from);
        if (cd == kNoIconv)
            return kNoIconv;
        Entry& victim = *std::min_element(m_entries.begin(), m_entries.end(),
                                          [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
        if (victim.cd != kNoIconv)
            iconv_close(victim.cd);
        std::strcpy(victim.to, to);
        std::strcpy(victim.from, from);
        victim.cd = cd;
        victim.lastUse = m_clock;
        return cd;
    }

private:
    struct Entry {
        char to[kNameMax + 1] = {};
        char from[kNameMax + 1] = {};
        iconv_t cd = kNoIconv;
        unsigned long lastUse = 0;
    };
    std::array<Entry, 4> m_entries;
    unsigned long m_clock = 0;
};

thread_local IconvCache t_iconvCache;

// Where iconv writes: a scratch buffer, drained into the caller's buffer (or only counted)
// whenever it fills. iconv never writes into the caller's buffer directly, because it may
// report a full buffer for a character that the code page lacks; with room to spare it
// reports what is wrong with the character.
class IconvOutput {
public:
    IconvOutput(char* dst, size_t cap) : m_dst(dst), m_cap(cap) {}
    char** Out() { return &m_out; }
    size_t* Left() { return &m_left; }
    // Moves the scratch content on; false when the caller's buffer is too small.
    bool Drain()
    {
        const size_t n = static_cast<size_t>(m_out - m_scratch);
        if (m_dst) {
            if (n > m_cap - m_total)
                return false;
            std::memcpy(m_dst + m_total, m_scratch, n);
        }
        m_total += n;
        m_out = m_scratch;
        m_left = sizeof m_scratch;
        return true;
    }
    bool IsEmpty() const { return m_out == m_scratch; }
    bool Put(const void* bytes, size_t n)
    {
        if (m_left < n && !Drain())
            return false;
        std::memcpy(m_out, bytes, n);
        m_out += n;
        m_left -= n;
        return true;
    }
    // Drains what is left; the total number of bytes, or -1 when they do not fit.
    long long Finish() { return Drain() ? static_cast<long long>(m_total) : -1; }

private:
    char* m_dst;
    size_t m_cap;
    size_t m_total = 0;
    char m_scratch[1024];
    char* m_out = m_scratch;
    size_t m_left = sizeof m_scratch;
};

// Converts until the input is used up or stops at an invalid or incomplete sequence (then
// *left > 0 and *in points at it). in == nullptr writes the shift sequence that returns to
// the initial state. False when the caller's buffer is too small.
bool RunIconv(iconv_t cd, char** in, size_t* left, IconvOutput& out)
{
    for (;;) {
        if (iconv(cd, in, left, out.Out(), out.Left()) != static_cast<size_t>(-1) || errno != E2BIG)
            return true;
        if (out.IsEmpty() || !out.Drain())
            return false;
    }
}

long long IconvToUtf16(const char* charset, const char* s, size_t n, char16_t* dst, size_t cap)
{
    const iconv_t cd = t_iconvCache.Get(kNativeUtf16, charset);
    if (cd == kNoIconv)
        return -1;
    IconvOutput out(reinterpret_cast<char*>(dst), cap * sizeof(char16_t));
    char* in = const_cast<char*>(s);
    size_t left = n;
    while (left > 0) {
        if (!RunIconv(cd, &in, &left, out))
            return -1;
        if (left == 0)
            break;
        // The byte at in begins no character.
        if (!out.Put(&kReplacement, sizeof kReplacement))
            return -1;
        ++in;
        --left;
    }
    if (!RunIconv(cd, nullptr, nullptr, out))
        return -1;
    const long long bytes = out.Finish();
    return bytes < 0 ? -1 : bytes / static_cast<long long>(sizeof(char16_t));
}

long long Utf16ToIconv(const char* charset, const char16_t* s, size_t n, char* dst, size_t cap)
{
    const iconv_t cd = t_iconvCache.Get(charset, kNativeUtf16);
    if (cd == kNoIconv)
        return -1;
    IconvOutput out(dst, cap);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(s));
    size_t left = n * sizeof(char16_t);
    while (left > 0) {
        if (!RunIconv(cd, &in, &left, out))
            return -1;
        if (left == 0)
            break;
        // A lone surrogate stands for U+FFFD; a character the code page lacks (or U+FFFD
        // itself) becomes '?'.
        const size_t pos = static_cast<size_t>(reinterpret_cast<char16_t*>(in) - s);
        const bool pair = IsHighSurrogate(s[pos]) && pos + 1 < n && IsLowSurrogate(s[pos + 1]);
        const bool lone = !pair && (IsHighSurrogate(s[pos]) || IsLowSurrogate(s[pos]));
        for (char16_t r : {lone ? kReplacement : u'?', u'?'}) {
            char* rin = reinterpret_cast<char*>(&r);
            size_t rleft = sizeof r;
            if (!RunIconv(cd, &rin, &rleft, out))
                return -1;
            if (rleft == 0)
                break;
        }
        const size_t skip = (pair ? 2 : 1) * sizeof(char16_t);
        in += skip;
        left -= skip;
    }
    if (!RunIconv(cd, nullptr, nullptr, out))
        return -1;
    return out.Finish();
}

// ---------------------------------------------------------------------------------------

int Result(long long n) { return n > INT_MAX ? -1 : static_cast<int>(n); }

int ToWide(const Charset& cs, const char* src, int srcLen, char16_t* dst, int dstLen)
{
    if (cs.kind == Charset::Unknown)
        return -1;
    const size_t n = !src ? 0 : srcLen < 0 ? std::strlen(src) : static_cast<size_t>(srcLen);
    const size_t cap = dst && dstLen > 0 ? static_cast<size_t>(dstLen) : 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(src);
    switch (cs.kind) {
    case Charset::Utf8:
        return Result(Utf8ToUtf16(bytes, n, dst, cap));
    case Charset::Utf16LE:
    case Charset::Utf16BE:
        return Result(Utf16BytesToUtf16(bytes, n, cs.kind == Charset::Utf16BE, dst, cap));
    case Charset::Utf16Bom: {
        const bool le = n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
        const bool be = n >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
        const size_t skip = le || be ? 2 : 0;
        return Result(Utf16BytesToUtf16(bytes + skip, n - skip, be, dst, cap));
    }
    default:
        return Result(IconvToUtf16(cs.iconvName, src ? src : "", n, dst, cap));
    }
}

}  // namespace

const char* TCCodePageName(unsigned codePage)
{
    const auto* end = std::end(kCodePages);
    const auto* it = std::lower_bound(std::begin(kCodePages), end, codePage,
                                      [](const CodePageName& e, unsigned cp) { return e.codePage < cp; });
    return it != end && it->codePage == codePage ? it->name : nullptr;
}

int TCMultiByteToWideChar(unsigned codePage, const char* src, int srcLen, char16_t* dst, int dstLen)
{
    return ToWide(CharsetOfCodePage(codePage), src, srcLen, dst, dstLen);
}

int TCWideCharToMultiByte(unsigned codePage, const char16_t* src, int srcLen, char* dst, int dstLen)
{
    const Charset cs = CharsetOfCodePage(codePage);
    if (cs.kind == Charset::Unknown)
        return -1;
    const size_t n = !src ? 0 : srcLen < 0 ? std::char_traits<char16_t>::length(src) : static_cast<size_t>(srcLen);
    const size_t cap = dst && dstLen > 0 ? static_cast<size_t>(dstLen) : 0;
    switch (cs.kind) {
    case Charset::Utf8:
        return Result(Utf16ToUtf8(src, n, dst, cap));
    case Charset::Utf16LE:
    case Charset::Utf16BE:
        return Result(Utf16ToUtf16Bytes(src, n, cs.kind == Charset::Utf16BE, dst, cap));
    default:
        return Result(Utf16ToIconv(cs.iconvName, src ? src : u"", n, dst, cap));
    }
}

int TCCharsetToWideChar(const char* charset, const char* src, int srcLen, char16_t* dst, int dstLen)
{
    if (!charset)
        return -1;
    // Names come from documents: only the characters of real charset names pass to iconv.
    std::string_view name(charset);
    while (!name.empty() && TCIsSpace(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && TCIsSpace(name.back()))
        name.remove_suffix(1);
    if (name.empty() || name.size() > kNameMax)
        return -1;
    char lower[kNameMax + 1], upper[kNameMax + 1];
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool ok = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        std::strchr("-_.:()+", c) != nullptr;
        if (!ok)
            return -1;
        lower[i] = TCToLower(c);
        upper[i] = TCToUpper(c);
    }
    lower[name.size()] = upper[name.size()] = 0;

    Charset cs{Charset::Iconv, upper};
    if (std::strcmp(lower, "utf-16") == 0)
        cs = {Charset::Utf16Bom, nullptr};
    for (const CharsetAlias& alias : kCharsetAliases)
        if (std::strcmp(lower, alias.name) == 0)
            cs = CharsetOfCodePage(alias.codePage);
    return ToWide(cs, src, srcLen, dst, dstLen);
}
