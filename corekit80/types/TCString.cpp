// TCString: construction, buffer, comparison, search, editing, trimming, code-page conversion.
#include "corekit80/types/TCString.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "corekit80/types/CString.h"
#include "corekit80/types/TCCodePage.h"
#include "corekit80/types/TCMbcsImpl.h"

const char TCString::s_empty[1] = {0};

namespace {

char* Reallocate(char* p, int n)
{
    char* q = static_cast<char*>(std::realloc(p, static_cast<size_t>(n)));
    if (!q)
        throw std::bad_alloc();
    return q;
}

int ClampCount(int n) { return n < 0 ? 0 : n; }

// First occurrence of [pat, pat + m) in [p, p + n): the first byte by memchr, then the rest.
const char* FindBytes(const char* p, size_t n, const char* pat, size_t m)
{
    if (m == 0)
        return p;
    for (const char* end = p + n; static_cast<size_t>(end - p) >= m; ++p) {
        p = static_cast<const char*>(std::memchr(p, pat[0], static_cast<size_t>(end - p) - m + 1));
        if (!p)
            return nullptr;
        if (std::memcmp(p + 1, pat + 1, m - 1) == 0)
            return p;
    }
    return nullptr;
}

// Sizes are 32-bit: a sum that would leave that range is an allocation failure.
int CheckedSize(long long n)
{
    if (n > INT_MAX)
        throw std::bad_alloc();
    return static_cast<int>(n);
}

int Utf16Length(const char16_t* w)
{
    long long n = 0;
    while (w[n])
        ++n;
    return CheckedSize(n);
}

} // namespace

// --- construction and assignment ---

TCString::TCString(char c, int n)
{
    Init();
    if (n < 1)
        return;
    AllocBuffer(CheckedSize(n + 1LL), false);
    std::memset(m_buffer, c, static_cast<size_t>(n));
    m_length = n;
}

TCString::TCString(const char* s)
{
    Init();
    if (s && *s)
        AllocCopy(s, CheckedSize(static_cast<long long>(std::strlen(s))));
}

TCString::TCString(const unsigned char* s) : TCString(reinterpret_cast<const char*>(s)) {}

TCString::TCString(const char* p, int n)
{
    Init();
    if (p && n > 0)
        AllocCopy(p, n);
}

TCString::TCString(const TCString& s)
{
    Init();
    if (s.m_length > 0)
        AllocCopy(s.m_buffer, s.m_length);
}

TCString::TCString(TCString&& s) noexcept
    : m_buffer(s.m_buffer), m_length(s.m_length), m_alloc(s.m_alloc)
{
    s.Init();
}

TCString::TCString(const char16_t* w, int n)
{
    Init();
    if (w)
        ToMultibyte(w, n);
}

TCString::~TCString() { std::free(m_buffer); }

TCString& TCString::operator=(const TCString& s)
{
    if (this != &s)
        AllocCopy(s.m_buffer, s.m_length);
    return *this;
}

TCString& TCString::operator=(TCString&& s) noexcept
{
    if (this != &s) {
        std::free(m_buffer);
        m_buffer = s.m_buffer;
        m_length = s.m_length;
        m_alloc = s.m_alloc;
        s.Init();
    }
    return *this;
}

TCString& TCString::operator=(char c) { return Assign(&c, 1); }

TCString& TCString::operator=(const char* s)
{
    return Assign(s, s ? CheckedSize(static_cast<long long>(std::strlen(s))) : 0);
}

TCString& TCString::operator=(const unsigned char* s)
{
    return *this = reinterpret_cast<const char*>(s);
}

TCString& TCString::operator=(const char16_t* w)
{
    if (w)
        ToMultibyte(w, -1);
    else
        Assign(nullptr, 0);
    return *this;
}

TCString& TCString::Assign(const char* p, int n)
{
    AllocCopy(p, n);
    return *this;
}

void TCString::Empty(bool freeBuffer)
{
    if (freeBuffer) {
        std::free(m_buffer);
        Init();
    } else if (m_buffer) {
        std::memset(m_buffer, 0, static_cast<size_t>(m_alloc));
        m_length = 0;
    }
}

// --- buffer ---

int TCString::SafeStrlen(const char* p)
{
    return p ? CheckedSize(static_cast<long long>(std::strlen(p))) : 0;
}

void TCString::AllocBuffer(int n, bool keep)
{
    n = ClampCount(n);
    if (n == 0) {
        std::free(m_buffer);
        Init();
        return;
    }
    if (keep && m_buffer) {
        // realloc lets a large buffer move without copying; what it did not carry over
        // from the old content is zero-filled as in a new buffer.
        const int kept = std::min(m_length + 1, n);
        m_buffer = Reallocate(m_buffer, n);
        std::memset(m_buffer + kept, 0, static_cast<size_t>(n - kept));
    } else if (n == m_alloc && m_buffer) {
        std::memset(m_buffer, 0, static_cast<size_t>(n));
    } else {
        std::free(m_buffer);
        m_buffer = nullptr;
        m_buffer = static_cast<char*>(std::calloc(static_cast<size_t>(n), 1));
        if (!m_buffer) {
            Init();
            throw std::bad_alloc();
        }
    }
    m_alloc = n;
    m_buffer[n - 1] = 0;
    if (m_length > n - 1)
        m_length = n - 1;
}

void TCString::EnsureAlloc(int n)
{
    if (m_alloc < n)
        AllocBuffer(n, true);
}

void TCString::AllocCopy(const char* p, int n)
{
    if (!p || n < 0)
        n = 0;
    if (n + 1 > m_alloc) {
        // The fresh buffer is exactly n + 1 bytes, so the terminator is its only zero byte.
        char* fresh = static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1));
        if (!fresh)
            throw std::bad_alloc();
        if (n > 0)
            std::memcpy(fresh, p, static_cast<size_t>(n)); // p may lie in the old buffer
        fresh[n] = 0;
        std::free(m_buffer);
        m_buffer = fresh;
        m_alloc = n + 1;
    } else {
        if (n > 0)
            std::memmove(m_buffer, p, static_cast<size_t>(n));
        std::memset(m_buffer + n, 0, static_cast<size_t>(m_alloc - n));
    }
    m_length = n;
}

TCString& TCString::AppendSlow(const char* p, int n)
{
    if (!p || n <= 0)
        return *this;
    // p may point into this string; keep its offset across a reallocation.
    const bool inside = IsInBuffer(p);
    const long long offset = inside ? p - m_buffer : 0;
    EnsureAlloc(CheckedSize(m_length + 1LL + n));
    std::memmove(m_buffer + m_length, inside ? m_buffer + offset : p, static_cast<size_t>(n));
    m_length += n;
    m_buffer[m_length] = 0;
    return *this;
}

TCString& TCString::SetAt(int i, char c)
{
    if (i >= 0 && i < m_length)
        m_buffer[i] = c;
    return *this;
}

char* TCString::GetBuffer(int n)
{
    EnsureAlloc(CheckedSize(ClampCount(n) + 1LL));
    return m_buffer;
}

TCString& TCString::ReleaseBuffer(int n)
{
    if (n >= 0) {
        EnsureAlloc(CheckedSize(n + 1LL));
        m_length = n;
    } else {
        m_length = SafeStrlen();
    }
    if (m_buffer)
        m_buffer[m_length] = 0;
    return *this;
}

char* TCString::GetBufferSetLength(int n)
{
    AllocBuffer(CheckedSize(ClampCount(n) + 1LL), true);
    return m_buffer;
}

char* TCString::AllocAddBuffer(int n, double growth)
{
    const long long need = m_length + 1LL + ClampCount(n);
    if (m_alloc < need) {
        const double grown = static_cast<double>(need) * (1.0 + growth);
        AllocBuffer(CheckedSize(std::max(need, grown < double(INT_MAX) ? static_cast<long long>(grown)
                                                                         : need)),
                    true);
    }
    return m_buffer + m_length;
}

void TCString::FreeExtra()
{
    if (m_buffer && m_alloc > m_length + 1)
        AllocBuffer(m_length + 1, true);
}

bool TCString::TestNULL(const void* a, const void* b, int& result)
{
    if (a && b)
        return false;
    result = !a && !b ? 0 : !b ? 1 : -1;
    return true;
}

// --- comparison ---

int TCString::Compare(const char* s) const { return s ? std::strcmp(*this, s) : 1; }
int TCString::CompareNoCase(const char* s) const { return s ? TCMbsICmp(*this, s) : 1; }
int TCString::Collate(const char* s) const { return s ? TCMbsColl(*this, s) : 1; }
int TCString::CollateNoCase(const char* s) const { return s ? TCMbsIColl(*this, s) : 1; }

int TCString::CompareBin(const TCString& s) const
{
    const int n = std::min(m_length, s.m_length);
    const int c = n > 0 ? std::memcmp(m_buffer, s.m_buffer, static_cast<size_t>(n)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    return m_length == s.m_length ? 0 : m_length > s.m_length ? 1 : -1;
}

// --- search ---

int TCString::Find(char c, int start) const
{
    start = ClampCount(start);
    if (start >= m_length)
        return -1;
    const char* text = m_buffer + start;
    const char* end = m_buffer + m_length;
    if (static_cast<unsigned char>(c) < 0x80) {
        const char* p = std::strchr(text, c);
        return p ? static_cast<int>(p - m_buffer) : -1;
    }
    // A byte above 0x7F matches only a character of its own, never part of a sequence.
    for (const char* p = text; *p; p += TCMbcLen(p, end))
        if (*p == c && TCMbcLen(p, end) == 1)
            return static_cast<int>(p - m_buffer);
    return -1;
}

int TCString::Find(const char* s, int start) const
{
    start = ClampCount(start);
    if (!s || start >= m_length)
        return -1;
    if (!*s)
        return TCMbcIsBoundary(m_buffer, start, m_buffer + m_length) ? start : -1;
    // strchr stops at the first zero byte, so the search stays within the text.
    const size_t m = std::strlen(s);
    const char* end = m_buffer + m_length;
    for (const char* p = std::strchr(m_buffer + start, *s); p; p = std::strchr(p + 1, *s)) {
        if (static_cast<size_t>(end - p) >= m && std::memcmp(p, s, m) == 0 &&
            TCMbcIsBoundary(m_buffer, static_cast<int>(p - m_buffer), end))
            return static_cast<int>(p - m_buffer);
    }
    return -1;
}

int TCString::FindNoCase(const char* s, int start) const
{
    start = ClampCount(start);
    if (!s || start >= m_length)
        return -1;
    const size_t n = std::strlen(s);
    const char* end = m_buffer + m_length;
    for (const char* p = m_buffer + start;; ++p) {
        size_t i = 0;
        while (i < n && p[i] && TCToLower(p[i]) == TCToLower(s[i]))
            ++i;
        if (i == n && TCMbcIsBoundary(m_buffer, static_cast<int>(p - m_buffer), end))
            return static_cast<int>(p - m_buffer);
        if (!*p)
            return -1;
    }
}

int TCString::FindBin(const TCString& s, int start) const
{
    start = ClampCount(start);
    if (start >= m_length)
        return -1;
    const char* p = FindBytes(m_buffer + start, static_cast<size_t>(m_length - start), s,
                              static_cast<size_t>(s.m_length));
    return p ? static_cast<int>(p - m_buffer) : -1;
}

int TCString::FindOneOf(const char* set) const
{
    if (!set || !m_buffer)
        return -1;
    const char* end = m_buffer + m_length;
    for (const char* p = m_buffer; *p; p += TCMbcLen(p, end))
        if (TCMbcInSet(p, TCMbcLen(p, end), set))
            return static_cast<int>(p - m_buffer);
    return -1;
}

int TCString::FindOneOf(const char* set, int setLength, int start) const
{
    start = ClampCount(start);
    if (!set || setLength < 1 || start >= m_length)
        return -1;
    for (int i = start; i < m_length; ++i)
        if (std::memchr(set, m_buffer[i], static_cast<size_t>(setLength)))
            return i;
    return -1;
}

int TCString::ReverseFind(char c, DataFormat f) const
{
    if (!m_buffer)
        return -1;
    if (f == DF_BINARY) {
        const void* p = memrchr(m_buffer, c, static_cast<size_t>(m_length));
        return p ? static_cast<int>(static_cast<const char*>(p) - m_buffer) : -1;
    }
    const int text = SafeStrlen();
    if (c == 0)
        return text;
    const char* end = m_buffer + text;
    int found = -1;
    for (const char* p = m_buffer; p < end; p += TCMbcLen(p, end))
        if (*p == c && TCMbcLen(p, end) == 1)
            found = static_cast<int>(p - m_buffer);
    return found;
}

int TCString::FindStringIndex(const TCString& s, int index, DataFormat f) const
{
    const int step = f == DF_BINARY ? s.m_length : s.SafeStrlen();
    if (step == 0)
        return -1;
    if (index == 0)
        index = 1;
    auto next = [&](int from) { return f == DF_BINARY ? FindBin(s, from) : Find(s, from); };
    if (index < 0) {
        int count = 0;
        for (int pos = next(0); pos >= 0; pos = next(pos + step))
            ++count;
        if (count + index < 0)
            return -1;
        index = count + index + 1;
    }
    int pos = next(0);
    for (int k = 1; pos >= 0 && k < index; ++k)
        pos = next(pos + step);
    return pos;
}

TCString TCString::SpanIncluding(const char* set) const
{
    if (!set || !m_buffer)
        return TCString();
    const char* end = m_buffer + m_length;
    const char* p = m_buffer;
    while (*p && TCMbcInSet(p, TCMbcLen(p, end), set))
        p += TCMbcLen(p, end);
    return Left(static_cast<int>(p - m_buffer));
}

TCString TCString::SpanExcluding(const char* set) const
{
    if (!set || !m_buffer)
        return *this;
    const char* end = m_buffer + m_length;
    const char* p = m_buffer;
    while (*p && !TCMbcInSet(p, TCMbcLen(p, end), set))
        p += TCMbcLen(p, end);
    return Left(static_cast<int>(p - m_buffer));
}

// --- extraction ---

TCString TCString::Mid(int first, int count) const
{
    first = ClampCount(first);
    count = ClampCount(count);
    if (first > m_length)
        return TCString();
    return TCString(m_buffer + first, std::min(count, m_length - first));
}

TCString TCString::Mid(int first) const
{
    first = ClampCount(first);
    return first >= m_length ? TCString() : TCString(m_buffer + first, m_length - first);
}

TCString TCString::Left(int n) const
{
    n = ClampCount(n);
    return n >= m_length ? *this : TCString(m_buffer, n);
}

TCString TCString::Right(int n, DataFormat f) const
{
    const int end = TextEnd(f);
    n = ClampCount(n);
    return n >= end ? *this : TCString(m_buffer + end - n, n);
}

TCString TCString::LeftOf(const TCString& s, int index, DataFormat f) const
{
    const int pos = FindStringIndex(s, index, f);
    return pos < 0 ? TCString() : Left(pos);
}

TCString TCString::RightOf(const TCString& s, int index, DataFormat f) const
{
    const int pos = FindStringIndex(s, index == 0 ? -1 : -index, f);
    if (pos < 0)
        return TCString();
    return Mid(pos + (f == DF_BINARY ? s.m_length : s.SafeStrlen()));
}

TCString TCString::MidOf(const TCString& a, const TCString& b, DataFormat f) const
{
    return RightOf(a, -1, f).LeftOf(b, -1, f);
}

TCString TCString::MidOf(const TCString& a, int ia, const TCString& b, int ib, DataFormat f) const
{
    return RightOf(a, ia == 0 ? -1 : -ia, f).LeftOf(b, ib == 0 ? -1 : -ib, f);
}

// --- modification ---

TCString& TCString::operator+=(const TCString& s) { return Append(s.m_buffer, s.m_length); }
TCString& TCString::operator+=(char c) { return Append(&c, 1); }
TCString& TCString::operator+=(const char* s) { return Append(s, SafeStrlen(s)); }

int TCString::Insert(int i, char c) { return InsertBytes(i, &c, 1); }

int TCString::Insert(int i, const char* s) { return InsertBytes(i, s, SafeStrlen(s)); }

int TCString::InsertBytes(int i, const char* p, int n)
{
    if (n == 0)
        return m_length;
    // p may point into this string; a reallocation or the shift would move it.
    const TCString piece = IsInString(p) ? TCString(p, n) : TCString();
    const char* src = piece.m_buffer ? piece.m_buffer : p;
    i = std::clamp(i, 0, m_length);
    EnsureAlloc(CheckedSize(m_length + 1LL + n));
    std::memmove(m_buffer + i + n, m_buffer + i, static_cast<size_t>(m_length - i + 1));
    std::memcpy(m_buffer + i, src, static_cast<size_t>(n));
    m_length += n;
    return m_length;
}

int TCString::Delete(int i, int n)
{
    i = ClampCount(i);
    if (n < 1 || i >= m_length)
        return m_length;
    n = std::min(n, m_length - i);
    std::memmove(m_buffer + i, m_buffer + i + n, static_cast<size_t>(m_length - i - n + 1));
    m_length -= n;
    return m_length;
}

int TCString::Remove(char c)
{
    int out = 0;
    for (int i = 0; i < m_length; ++i)
        if (m_buffer[i] != c)
            m_buffer[out++] = m_buffer[i];
    const int removed = m_length - out;
    if (removed > 0) {
        m_length = out;
        m_buffer[m_length] = 0;
    }
    return removed;
}

int TCString::Replace(char a, char b)
{
    if (a == b)
        return 0;
    int count = 0;
    for (int i = 0; i < m_length; ++i)
        if (m_buffer[i] == a) {
            m_buffer[i] = b;
            ++count;
        }
    return count;
}

int TCString::Replace(const char* a, const char* b)
{
    const int na = SafeStrlen(a);
    if (na == 0 || m_length == 0)
        return 0;
    // A pattern holds no zero byte, so one search over the whole content finds what a
    // search segment by segment between embedded zero bytes finds.
    std::vector<int> found;
    const char* end = m_buffer + m_length;
    for (const char* p = m_buffer; (p = FindBytes(p, size_t(end - p), a, size_t(na))); p += na)
        found.push_back(static_cast<int>(p - m_buffer));
    if (found.empty())
        return 0;
    const TCString copy = IsInString(b) ? TCString(b) : TCString();
    const char* with = copy.m_buffer ? copy.m_buffer : b ? b : "";
    const int nb = SafeStrlen(with);
    const int count = static_cast<int>(found.size());
    const int length = CheckedSize(m_length + static_cast<long long>(count) * (nb - na));
    if (nb <= na) {
        // Shrinking or equal: compact from the front.
        int out = found[0];
        for (int k = 0; k < count; ++k) {
            std::memcpy(m_buffer + out, with, static_cast<size_t>(nb));
            out += nb;
            const int from = found[k] + na;
            const int to = k + 1 < count ? found[k + 1] : m_length;
            std::memmove(m_buffer + out, m_buffer + from, static_cast<size_t>(to - from));
            out += to - from;
        }
    } else {
        // Growing: the buffer grows once, then the pieces move from the back.
        EnsureAlloc(CheckedSize(length + 1LL));
        int out = length;
        for (int k = count - 1; k >= 0; --k) {
            const int from = found[k] + na;
            const int to = k + 1 < count ? found[k + 1] : m_length;
            out -= to - from;
            std::memmove(m_buffer + out, m_buffer + from, static_cast<size_t>(to - from));
            out -= nb;
            std::memcpy(m_buffer + out, with, static_cast<size_t>(nb));
        }
    }
    m_length = length;
    m_buffer[m_length] = 0;
    return count;
}

TCString& TCString::MakeUpper()
{
    for (int i = 0; i < m_length; ++i)
        m_buffer[i] = TCToUpper(m_buffer[i]);
    return *this;
}

TCString& TCString::MakeLower()
{
    for (int i = 0; i < m_length; ++i)
        m_buffer[i] = TCToLower(m_buffer[i]);
    return *this;
}

TCString& TCString::MakeReverse(DataFormat f)
{
    if (!m_buffer)
        return *this;
    if (f == DF_BINARY)
        std::reverse(m_buffer, m_buffer + m_length);
    else
        TCMbsRev(m_buffer, SafeStrlen());
    return *this;
}

// --- trimming ---

template <class Pred> TCString& TCString::TrimLeftWhile(Pred trimmable)
{
    const char* end = m_buffer + m_length;
    int i = 0;
    while (i < m_length) {
        const int n = TCMbcLen(m_buffer + i, end);
        if (!trimmable(m_buffer + i, n))
            break;
        i += n;
    }
    Delete(0, i);
    return *this;
}

template <class Pred> TCString& TCString::TrimRightWhile(Pred trimmable, bool stopAtZero)
{
    const char* end = m_buffer + m_length;
    int runStart = -1;
    for (int i = 0; i < m_length;) {
        if (stopAtZero && m_buffer[i] == 0)
            break;
        const int n = TCMbcLen(m_buffer + i, end);
        if (!trimmable(m_buffer + i, n))
            runStart = -1;
        else if (runStart < 0)
            runStart = i;
        i += n;
    }
    if (runStart >= 0) {
        m_length = runStart;
        m_buffer[m_length] = 0;
    }
    return *this;
}

namespace {

bool IsSpaceChar(const char* p, int n) { return n == 1 && TCIsSpace(*p); }

// Membership of one character in a set held by a TCString.
bool InStringSet(const TCString& set, const char* p, int n, TCString::DataFormat f)
{
    if (set.IsEmpty())
        return false;
    if (f == TCString::DF_BINARY)
        return set.FindBin(TCString(p, n)) >= 0;
    return *p != 0 && set.Find(TCString(p, n)) >= 0;
}

} // namespace

TCString& TCString::TrimLeft() { return TrimLeftWhile(IsSpaceChar); }

TCString& TCString::TrimLeft(char c)
{
    return TrimLeftWhile([c](const char* p, int n) { return n == 1 && *p == c; });
}

TCString& TCString::TrimLeft(const char* set)
{
    if (!set || !*set)
        return *this;
    return TrimLeftWhile([set](const char* p, int n) { return TCMbcInSet(p, n, set); });
}

TCString& TCString::TrimLeft(const TCString& set, DataFormat f)
{
    const TCString copy(set);
    return TrimLeftWhile([&](const char* p, int n) { return InStringSet(copy, p, n, f); });
}

TCString& TCString::TrimRight(DataFormat f)
{
    return TrimRightWhile(IsSpaceChar, f == DF_ASCII);
}

TCString& TCString::TrimRight(char c, DataFormat f)
{
    return TrimRightWhile([c](const char* p, int n) { return n == 1 && *p == c; }, f == DF_ASCII);
}

TCString& TCString::TrimRight(const char* set)
{
    if (!set || !*set)
        return *this;
    return TrimRightWhile([set](const char* p, int n) { return TCMbcInSet(p, n, set); }, true);
}

TCString& TCString::TrimRight(const TCString& set, DataFormat f)
{
    const TCString copy(set);
    return TrimRightWhile([&](const char* p, int n) { return InStringSet(copy, p, n, f); },
                          f == DF_ASCII);
}

// --- concatenation ---

TCString operator+(const TCString& a, const TCString& b)
{
    TCString r;
    r.GetBuffer(a.GetLength() + b.GetLength());
    r.Append(a, a.GetLength());
    r.Append(b, b.GetLength());
    return r;
}

TCString operator+(const TCString& a, char b) { return a + TCString(&b, 1); }
TCString operator+(char a, const TCString& b) { return TCString(&a, 1) + b; }
TCString operator+(const TCString& a, const char* b) { return a + TCString(b); }
TCString operator+(const char* a, const TCString& b) { return TCString(a) + b; }

// --- code-page conversion and the framework string ---

// Both conversions write into a fresh buffer and then take it over, so the source may
// lie in this string's own buffer.
const char* TCString::ToMultibyte(const char16_t* w, int n, unsigned codePage)
{
    if (!w)
        n = 0;
    else if (n < 0)
        n = Utf16Length(w);
    TCString result;
    const int need = n > 0 ? TCWideCharToMultiByte(codePage, w, n, nullptr, 0) : 0;
    if (need > 0) {
        char* out = result.GetBuffer(need);
        result.ReleaseBuffer(std::max(TCWideCharToMultiByte(codePage, w, n, out, need), 0));
    }
    *this = std::move(result);
    return *this;
}

const char16_t* TCString::ToUnicode(const char* s, int n, unsigned codePage)
{
    if (!s)
        n = 0;
    else if (n < 0)
        n = SafeStrlen(s);
    TCString result;
    // A byte never turns into more than one UTF-16 unit; the zero unit follows the text.
    const long long bytes = 2LL * n + 2;
    if (bytes > INT_MAX)
        throw std::bad_alloc();
    char* out = result.GetBuffer(static_cast<int>(bytes - 1));
    const int units = n > 0 ? TCMultiByteToWideChar(codePage, s, n, reinterpret_cast<char16_t*>(out), n) : 0;
    result.ReleaseBuffer(units > 0 ? 2 * units : 0);
    result.m_buffer[result.m_length + 1] = 0; // second byte of the zero unit
    result.AllocBuffer(result.m_length + 2, true);
    *this = std::move(result);
    return reinterpret_cast<const char16_t*>(static_cast<const char*>(*this));
}

CString TCString2BinCString(const TCString& s) { return CString(s, s.GetLength()); }

TCString CString2BinTCString(const CString& s) { return TCString(s, s.GetLength()); }
