// Text helpers: C escapes, line stepping, "name = value" lookup and number scanning.
#include "corekit80/foundation/TCTextUtil.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "corekit80/types/CString.h"
#include "corekit80/types/TCCLocaleImpl.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

// A size that a TCString cannot hold counts as a failed allocation.
int CheckedLength(size_t n)
{
    if (n > size_t(INT_MAX) - 2)
        throw std::bad_alloc();
    return int(n);
}

int QuotedSize(unsigned char c)
{
    if (c == '\\' || (c >= 7 && c <= 13))
        return 2;
    return c < 32 ? 4 : 1;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The byte a one-letter escape stands for, or -1.
int SimpleEscape(char c)
{
    switch (c) {
    case 'a': return 7;
    case 'b': return 8;
    case 'c': return 17;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'v': return 11;
    case '\'': case '"': case '?': case '\\': return c;
    default: return -1;
    }
}

bool StartsWithNoCase(const char* line, const char* key, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (line[i] == 0 || TCToLower(line[i]) != TCToLower(key[i]))
            return false;
    return true;
}

// Finds the value of the line "name = value" in text as [begin, begin + length).
bool FindParam(const char* text, const char* name, int maxLength, const char*& begin, int& length)
{
    if (!text || !name)
        return false;
    const char* key = name;
    const char* keyEnd = name + std::strlen(name);
    while (key < keyEnd && TCIsSpace(*key))
        ++key;
    while (keyEnd > key && TCIsSpace(keyEnd[-1]))
        --keyEnd;
    for (const char* line = text; line; line = GetLine(line)) {
        if (!StartsWithNoCase(line, key, size_t(keyEnd - key)))
            continue;
        // The '=' is searched from the line start on, so it may lie on a later line.
        const char* eq = std::strchr(line, '=');
        if (!eq)
            return false;
        begin = eq + 1;
        if (maxLength != -1) {
            length = int(strnlen(begin, size_t(std::max(maxLength, 0))));
            return true;
        }
        const char* end = begin + std::strcspn(begin, "\n");
        while (begin < end && TCIsSpace(*begin))
            ++begin;
        while (end > begin && TCIsSpace(end[-1]))
            --end;
        length = CheckedLength(size_t(end - begin));
        return true;
    }
    return false;
}

template <class T, class Reader>
T ScanNumber(const char*& p, int base, Reader read)
{
    if (!p)
        return 0;
    const char* s = p;
    if (base == 0) {
        if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
            s += 2;
            base = 16;
        } else if (*s == '-' || *s == '+' || TCIsDigit(*s)) {
            base = 10;
        } else {
            return 0;
        }
    } else if (base < 2 || base > 36) {
        return 0;  // the C library would leave its end pointer unset
    }
    char* end = nullptr;
    const T value = read(s, &end, base, TCCLocale());
    p = end;
    return value;
}

}  // namespace

TCString& QuoteControlChar(TCString& out, const TCString& in)
{
    static const char hex[] = "0123456789abcdef";
    static const char letter[] = "abtnvfr";  // escapes of the bytes 7 to 13
    const auto* s = reinterpret_cast<const unsigned char*>(static_cast<const char*>(in));
    const int n = in.GetLength();
    size_t size = 0;
    for (int i = 0; i < n; ++i)
        size += size_t(QuotedSize(s[i]));

    // Built aside so that out may be in itself.
    TCString result;
    char* d = result.GetBuffer(CheckedLength(size));
    for (int i = 0; i < n; ++i) {
        const unsigned char c = s[i];
        if (c == '\\') {
            *d++ = '\\';
            *d++ = '\\';
        } else if (c >= 7 && c <= 13) {
            *d++ = '\\';
            *d++ = letter[c - 7];
        } else if (c < 32) {
            *d++ = '\\';
            *d++ = 'x';
            *d++ = hex[c >> 4];
            *d++ = hex[c & 15];
        } else {
            *d++ = char(c);
        }
    }
    result.ReleaseBuffer(int(size));
    out = std::move(result);
    return out;
}

bool UnQuoteEscapeChar(TCString& out, const TCString& in)
{
    const char* s = in;
    const int n = in.GetLength();
    TCString result;
    char* const start = result.GetBuffer(n);
    char* d = start;
    bool ok = true;
    for (int i = 0; i < n;) {
        const char c = s[i++];
        if (c != '\\') {
            *d++ = c;
            continue;
        }
        if (i == n) {
            *d++ = c;
            ok = false;
            break;
        }
        const char e = s[i++];
        if (const int v = SimpleEscape(e); v >= 0) {
            *d++ = char(v);
        } else if (e == 'x') {
            int v = 0, digits = 0;
            for (; digits < 2 && i < n && TCHexDigitValue(s[i]) >= 0; ++digits)
                v = v * 16 + TCHexDigitValue(s[i++]);
            if (digits == 0)
                ok = false;
            else
                *d++ = char(v);
        } else if (IsOctal(e)) {
            int v = e - '0';
            for (int digits = 1; digits < 3 && i < n && IsOctal(s[i]); ++digits)
                v = v * 8 + (s[i++] - '0');
            if (v > 255)
                ok = false;
            *d++ = char(v & 0xFF);
        } else {
            *d++ = e;
            ok = false;
        }
    }
    result.ReleaseBuffer(int(d - start));
    out = std::move(result);
    return ok;
}

const char* GetLine(const char* p)
{
    if (!p || !(p = std::strchr(p, '\n')))
        return nullptr;
    while (TCIsSpace(*p))
        ++p;
    return *p ? p : nullptr;
}

const char* TCIndentSpaces(int n)
{
    static constexpr int kMax = 100;
    static constexpr auto spaces = [] {
        std::array<char, kMax + 1> a{};
        std::fill_n(a.begin(), kMax, ' ');
        return a;
    }();
    return spaces.data() + kMax - std::clamp(n, 0, kMax);
}

bool ParseParam(const char* text, const char* name, TCString& value, int maxLength)
{
    const char* begin;
    int length;
    if (!FindParam(text, name, maxLength, begin, length))
        return false;
    // The copy is made before the assignment: text may be value's own buffer.
    value = TCString(begin, length);
    return true;
}

bool ParseParam(const char* text, const char* name, CString& value, int maxLength)
{
    const char* begin;
    int length;
    if (!FindParam(text, name, maxLength, begin, length))
        return false;
    value = CString(begin, length);
    return true;
}

bool ParseParam(const char* text, const char* name, int& value)
{
    TCString s;
    if (!ParseParam(text, name, s))
        return false;
    // Out-of-range text saturates at the int limits.
    value = int(std::clamp<long>(strtol_l(s, nullptr, 10, TCCLocale()), INT_MIN, INT_MAX));
    return true;
}

bool ParseParam(const char* text, const char* name, double& value)
{
    TCString s;
    if (!ParseParam(text, name, s))
        return false;
    value = strtod_l(s, nullptr, TCCLocale());
    return true;
}

long GetNumber(const char*& p, int base)
{
    return ScanNumber<long>(p, base, strtol_l);
}

unsigned long GetNumberU(const char*& p, int base)
{
    return ScanNumber<unsigned long>(p, base, strtoul_l);
}
