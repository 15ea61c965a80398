// CString: construction, search, modification, trimming and printf-style formatting.
#include "corekit80/types/CString.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "corekit80/types/TCCLocaleImpl.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// Whether the character [c, c + n) is one of set's; a null set is empty.
bool InSet(const char* c, int n, const char* set) { return set && TCMbcInSet(c, n, set); }

// Numbers are formatted in the "C" locale whatever the host set.
int FormatInC(char* buf, size_t size, const char* fmt, va_list args)
{
    const TCCLocaleScope cLocale;
    return std::vsnprintf(buf, size, fmt, args);
}

// Formats into small when the text fits there, else into big; returns the length, or -1
// when the formatter fails.
template <size_t N> int FormatText(const char* fmt, va_list args, char (&small)[N], CString& big)
{
    if (!fmt)
        fmt = "";
    va_list copy;
    va_copy(copy, args);
    const int n = FormatInC(small, N, fmt, copy);
    va_end(copy);
    if (n < 0 || static_cast<size_t>(n) < N)
        return n;
    va_copy(copy, args);
    FormatInC(big.GetBuffer(n), static_cast<size_t>(n) + 1, fmt, copy);
    va_end(copy);
    big.ReleaseBuffer(n);
    return n;
}

CString Concat(const char* a, int na, const char* b, int nb)
{
    if (static_cast<long long>(na) + nb > INT_MAX - 1)
        throw std::bad_alloc();
    CString r;
    r.Preallocate(na + nb);
    r.Append(a, na);
    r.Append(b, nb);
    return r;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Construction and assignment

CString::CString(const char* s) : CString() { SetString(s); }

CString::CString(const unsigned char* s) : CString(reinterpret_cast<const char*>(s)) {}

CString::CString(const char* p, int n) : CString() { SetString(p, n); }

CString::CString(char c, int repeat) : CString()
{
    if (repeat < 1)
        return;
    Reserve(repeat, false);
    std::memset(m_pchData, c, static_cast<size_t>(repeat));
    m_nDataLength = repeat;
    m_pchData[repeat] = 0;
}

CString::CString(const CString& s) : CString() { Assign(s.m_pchData, s.m_nDataLength); }

CString::CString(CString&& s) noexcept
    : m_pchData(std::exchange(s.m_pchData, nullptr)),
      m_nDataLength(std::exchange(s.m_nDataLength, 0)),
      m_nAllocLength(std::exchange(s.m_nAllocLength, 0))
{
}

CString::~CString() { std::free(m_pchData); }

CString& CString::operator=(const CString& s)
{
    if (this != &s)
        Assign(s.m_pchData, s.m_nDataLength);
    return *this;
}

CString& CString::operator=(CString&& s) noexcept
{
    if (this != &s) {
        std::free(m_pchData);
        m_pchData = std::exchange(s.m_pchData, nullptr);
        m_nDataLength = std::exchange(s.m_nDataLength, 0);
        m_nAllocLength = std::exchange(s.m_nAllocLength, 0);
    }
    return *this;
}

CString& CString::operator=(const char* s)
{
    SetString(s);
    return *this;
}

CString& CString::operator=(char c)
{
    Assign(&c, 1);
    return *this;
}

void CString::SetString(const char* s)
{
    size_t n = s ? std::strlen(s) : 0;
    if (n > INT_MAX - 1)
        throw std::bad_alloc();
    Assign(s, static_cast<int>(n));
}

void CString::SetString(const char* p, int n) { Assign(p, p && n > 0 ? n : 0); }

// p may point into this string's own buffer.
void CString::Assign(const char* p, int n)
{
    if (n < 0)
        throw std::bad_alloc(); // a length past INT_MAX
    if (n == 0) {
        Truncate(0);
        return;
    }
    if (n + 1 > m_nAllocLength) {
        char* fresh = static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1));
        if (!fresh)
            throw std::bad_alloc();
        std::memcpy(fresh, p, static_cast<size_t>(n));
        std::free(m_pchData);
        m_pchData = fresh;
        m_nAllocLength = n + 1;
    } else {
        std::memmove(m_pchData, p, static_cast<size_t>(n));
    }
    m_nDataLength = n;
    m_pchData[n] = 0;
}

void CString::Empty()
{
    std::free(m_pchData);
    m_pchData = nullptr;
    m_nDataLength = m_nAllocLength = 0;
}

// ---------------------------------------------------------------------------------------
// Buffer

// Makes room for n content bytes plus the terminator, keeping the content. Appends grow
// by half the capacity at least, so that strings built piece by piece stay linear.
void CString::Reserve(long long n, bool geometric)
{
    if (n < m_nAllocLength)
        return;
    if (n > INT_MAX - 1)
        throw std::bad_alloc();
    long long alloc = n + 1;
    if (geometric)
        alloc = std::min<long long>(std::max<long long>(alloc, m_nAllocLength + m_nAllocLength / 2), INT_MAX);
    Reallocate(static_cast<int>(alloc));
}

void CString::Reallocate(int alloc)
{
    char* grown = static_cast<char*>(std::realloc(m_pchData, static_cast<size_t>(alloc)));
    if (!grown)
        throw std::bad_alloc();
    if (!m_pchData)
        grown[0] = 0;
    m_pchData = grown;
    m_nAllocLength = alloc;
}

bool CString::Owns(const char* p) const
{
    const auto a = reinterpret_cast<uintptr_t>(p), b = reinterpret_cast<uintptr_t>(m_pchData);
    return m_pchData && a >= b && a < b + static_cast<uintptr_t>(m_nAllocLength);
}

void CString::SetAt(int i, char c)
{
    if (i >= 0 && i < m_nDataLength)
        m_pchData[i] = c;
}

char* CString::GetBuffer(int minLength)
{
    Reserve(std::max(minLength, m_nDataLength), false);
    return m_pchData;
}

char* CString::GetBufferSetLength(int n)
{
    n = std::max(n, 0);
    Reserve(n, false);
    if (n > m_nDataLength)
        std::memset(m_pchData + m_nDataLength, 0, static_cast<size_t>(n - m_nDataLength));
    m_nDataLength = n;
    m_pchData[n] = 0;
    return m_pchData;
}

void CString::ReleaseBuffer(int n)
{
    if (!m_pchData)
        return;
    const int room = m_nAllocLength - 1;
    m_nDataLength = n < 0 ? static_cast<int>(strnlen(m_pchData, static_cast<size_t>(room))) : std::min(n, room);
    m_pchData[m_nDataLength] = 0;
}

void CString::Preallocate(int n) { Reserve(std::max(n, m_nDataLength), false); }

void CString::FreeExtra()
{
    if (m_nDataLength == 0)
        Empty();
    else if (m_nAllocLength > m_nDataLength + 1)
        Reallocate(m_nDataLength + 1);
}

void CString::Truncate(int n)
{
    if (m_pchData && n < m_nDataLength) {
        m_nDataLength = std::max(n, 0);
        m_pchData[m_nDataLength] = 0;
    }
}

// ---------------------------------------------------------------------------------------
// Appending

void CString::Append(const char* s)
{
    if (s)
        Append(s, static_cast<int>(std::strlen(s)));
}

// p may point into this string's own buffer.
void CString::Append(const char* p, int n)
{
    if (!p || n <= 0)
        return;
    const bool own = Owns(p);
    const std::ptrdiff_t offset = own ? p - m_pchData : 0;
    Reserve(static_cast<long long>(m_nDataLength) + n, true);
    if (own)
        p = m_pchData + offset;
    std::memmove(m_pchData + m_nDataLength, p, static_cast<size_t>(n));
    m_nDataLength += n;
    m_pchData[m_nDataLength] = 0;
}

void CString::Append(const CString& s) { Append(s.m_pchData, s.m_nDataLength); }

void CString::AppendChar(char c) { Append(&c, 1); }

CString& CString::operator+=(const CString& s)
{
    Append(s);
    return *this;
}

CString& CString::operator+=(const char* s)
{
    Append(s);
    return *this;
}

CString& CString::operator+=(char c)
{
    AppendChar(c);
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    return Concat(a.GetString(), a.GetLength(), b.GetString(), b.GetLength());
}

CString operator+(const CString& a, const char* b)
{
    return Concat(a.GetString(), a.GetLength(), b, b ? static_cast<int>(std::strlen(b)) : 0);
}

CString operator+(const char* a, const CString& b)
{
    return Concat(a, a ? static_cast<int>(std::strlen(a)) : 0, b.GetString(), b.GetLength());
}

CString operator+(const CString& a, char b) { return Concat(a.GetString(), a.GetLength(), &b, 1); }

CString operator+(char a, const CString& b) { return Concat(&a, 1, b.GetString(), b.GetLength()); }

CString operator+(CString&& a, const CString& b)
{
    a.Append(b);
    return std::move(a);
}

CString operator+(CString&& a, const char* b)
{
    a.Append(b);
    return std::move(a);
}

CString operator+(CString&& a, char b)
{
    a.AppendChar(b);
    return std::move(a);
}

// ---------------------------------------------------------------------------------------
// Comparison

int CString::CompareText(const char* a, const char* b)
{
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    return Sign(std::strcmp(a, b));
}

int CString::CompareNoCase(const char* s) const { return s ? Sign(TCMbsICmp(GetString(), s)) : 1; }

int CString::Collate(const char* s) const { return s ? Sign(TCMbsColl(GetString(), s)) : 1; }

int CString::CollateNoCase(const char* s) const { return s ? Sign(TCMbsIColl(GetString(), s)) : 1; }

// ---------------------------------------------------------------------------------------
// Extraction

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, m_nDataLength);
    count = std::clamp(count, 0, m_nDataLength - first);
    return CString(m_pchData ? m_pchData + first : nullptr, count);
}

CString CString::Mid(int first) const { return Mid(first, m_nDataLength - std::clamp(first, 0, m_nDataLength)); }

CString CString::Left(int n) const { return Mid(0, n); }

CString CString::Right(int n) const
{
    n = std::clamp(n, 0, m_nDataLength);
    return Mid(m_nDataLength - n, n);
}

// The byte length of the character at i; an invalid byte (and the end) counts as one.
int CString::CharLength(int i) const
{
    return i < m_nDataLength ? TCMbcLen(m_pchData + i, m_pchData + m_nDataLength) : 1;
}

// The end of the run of characters from start for which inRun(position, length) holds.
template <class Pred> int CString::SpanOf(int start, Pred inRun) const
{
    int i = start;
    for (int n; i < m_nDataLength && inRun(i, n = CharLength(i)); i += n) {
    }
    return i;
}

CString CString::SpanIncluding(const char* set) const
{
    return Left(SpanOf(0, [&](int i, int n) { return InSet(m_pchData + i, n, set); }));
}

CString CString::SpanExcluding(const char* set) const
{
    return Left(SpanOf(0, [&](int i, int n) { return !InSet(m_pchData + i, n, set); }));
}

CString CString::Tokenize(const char* set, int& start) const
{
    if (start < 0 || start >= m_nDataLength) {
        start = -1;
        return CString();
    }
    if (!set || !*set) {
        CString rest = Mid(start);
        start = m_nDataLength;
        return rest;
    }
    const int from = SpanOf(start, [&](int i, int n) { return InSet(m_pchData + i, n, set); });
    if (from == m_nDataLength) {
        start = -1;
        return CString();
    }
    const int to = SpanOf(from, [&](int i, int n) { return !InSet(m_pchData + i, n, set); });
    start = to + CharLength(to);
    return Mid(from, to - from);
}

// ---------------------------------------------------------------------------------------
// Search

int CString::Find(char c, int start) const
{
    start = std::max(start, 0);
    if (start >= m_nDataLength)
        return -1;
    const void* hit = std::memchr(m_pchData + start, c, static_cast<size_t>(m_nDataLength - start));
    return hit ? static_cast<int>(static_cast<const char*>(hit) - m_pchData) : -1;
}

int CString::Find(const char* s, int start) const
{
    start = std::max(start, 0);
    if (!s || start > m_nDataLength)
        return -1;
    const char* text = GetString();
    const void* hit = memmem(text + start, static_cast<size_t>(m_nDataLength - start), s, std::strlen(s));
    return hit ? static_cast<int>(static_cast<const char*>(hit) - text) : -1;
}

int CString::ReverseFind(char c) const
{
    const void* hit = m_nDataLength ? memrchr(m_pchData, c, static_cast<size_t>(m_nDataLength)) : nullptr;
    return hit ? static_cast<int>(static_cast<const char*>(hit) - m_pchData) : -1;
}

int CString::FindOneOf(const char* set) const
{
    const int i = SpanOf(0, [&](int i, int n) { return !InSet(m_pchData + i, n, set); });
    return i < m_nDataLength ? i : -1;
}

// ---------------------------------------------------------------------------------------
// Modification

int CString::Replace(char from, char to)
{
    if (from == to)
        return 0;
    int count = 0;
    for (int i = 0; i < m_nDataLength; ++i) {
        if (m_pchData[i] == from) {
            m_pchData[i] = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* from, const char* to)
{
    const size_t nFrom = from ? std::strlen(from) : 0;
    if (nFrom == 0 || m_nDataLength == 0)
        return 0;
    const size_t nTo = to ? std::strlen(to) : 0;
    const char* const end = m_pchData + m_nDataLength;
    const auto next = [&](const char* p) {
        return static_cast<const char*>(memmem(p, static_cast<size_t>(end - p), from, nFrom));
    };
    int count = 0;
    for (const char* p = next(m_pchData); p; p = next(p + nFrom))
        ++count;
    if (count == 0)
        return 0;
    // The result is built apart: to may point into this string.
    CString result;
    result.Reserve(m_nDataLength + static_cast<long long>(count) * (static_cast<long long>(nTo) - nFrom), false);
    const char* done = m_pchData;
    for (const char* p = next(done); p; p = next(done)) {
        result.Append(done, static_cast<int>(p - done));
        result.Append(to, static_cast<int>(nTo));
        done = p + nFrom;
    }
    result.Append(done, static_cast<int>(end - done));
    *this = std::move(result);
    return count;
}

int CString::Remove(char c)
{
    const int before = m_nDataLength;
    if (before == 0)
        return 0;
    m_nDataLength = static_cast<int>(std::remove(m_pchData, m_pchData + before, c) - m_pchData);
    m_pchData[m_nDataLength] = 0;
    return before - m_nDataLength;
}

void CString::InsertBytes(int i, const char* p, int n)
{
    if (Owns(p)) {
        const CString copy(p, n);
        InsertBytes(i, copy.m_pchData, n);
        return;
    }
    i = std::clamp(i, 0, m_nDataLength);
    Reserve(static_cast<long long>(m_nDataLength) + n, true);
    std::memmove(m_pchData + i + n, m_pchData + i, static_cast<size_t>(m_nDataLength - i));
    std::memcpy(m_pchData + i, p, static_cast<size_t>(n));
    m_nDataLength += n;
    m_pchData[m_nDataLength] = 0;
}

int CString::Insert(int i, char c)
{
    InsertBytes(i, &c, 1);
    return m_nDataLength;
}

int CString::Insert(int i, const char* s)
{
    if (s && *s)
        InsertBytes(i, s, static_cast<int>(std::strlen(s)));
    return m_nDataLength;
}

int CString::Delete(int i, int n)
{
    i = std::max(i, 0);
    if (n <= 0 || i >= m_nDataLength)
        return m_nDataLength;
    n = std::min(n, m_nDataLength - i);
    std::memmove(m_pchData + i, m_pchData + i + n, static_cast<size_t>(m_nDataLength - i - n));
    m_nDataLength -= n;
    m_pchData[m_nDataLength] = 0;
    return m_nDataLength;
}

CString& CString::MakeUpper()
{
    std::transform(m_pchData, m_pchData + m_nDataLength, m_pchData, TCToUpper);
    return *this;
}

CString& CString::MakeLower()
{
    std::transform(m_pchData, m_pchData + m_nDataLength, m_pchData, TCToLower);
    return *this;
}

CString& CString::MakeReverse()
{
    TCMbsRev(m_pchData, m_nDataLength);
    return *this;
}

template <class Pred> CString& CString::TrimLeftWhile(Pred trimmable)
{
    Delete(0, SpanOf(0, trimmable));
    return *this;
}

// Walks forward (characters cannot be told apart walking backward) and remembers where the
// last run of trimmable characters began.
template <class Pred> CString& CString::TrimRightWhile(Pred trimmable)
{
    int runStart = -1;
    for (int i = 0, n; i < m_nDataLength; i += n) {
        n = CharLength(i);
        if (!trimmable(i, n))
            runStart = -1;
        else if (runStart < 0)
            runStart = i;
    }
    if (runStart >= 0)
        Truncate(runStart);
    return *this;
}

CString& CString::TrimLeft()
{
    return TrimLeftWhile([this](int i, int n) { return n == 1 && TCIsSpace(m_pchData[i]); });
}

CString& CString::TrimLeft(char c)
{
    return TrimLeftWhile([this, c](int i, int n) { return n == 1 && m_pchData[i] == c; });
}

CString& CString::TrimLeft(const char* set)
{
    return TrimLeftWhile([this, set](int i, int n) { return InSet(m_pchData + i, n, set); });
}

CString& CString::TrimRight()
{
    return TrimRightWhile([this](int i, int n) { return n == 1 && TCIsSpace(m_pchData[i]); });
}

CString& CString::TrimRight(char c)
{
    return TrimRightWhile([this, c](int i, int n) { return n == 1 && m_pchData[i] == c; });
}

CString& CString::TrimRight(const char* set)
{
    return TrimRightWhile([this, set](int i, int n) { return InSet(m_pchData + i, n, set); });
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::Trim(char c) { return TrimRight(c).TrimLeft(c); }

CString& CString::Trim(const char* set) { return TrimRight(set).TrimLeft(set); }

// ---------------------------------------------------------------------------------------
// Formatting

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::FormatV(const char* fmt, va_list args)
{
    // Formatted apart: the arguments may point into this string.
    char small[256];
    CString big;
    const int n = FormatText(fmt, args, small, big);
    if (n < 0)
        return;
    if (big.m_pchData)
        *this = std::move(big);
    else
        Assign(small, n);
}

void CString::AppendFormat(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    AppendFormatV(fmt, args);
    va_end(args);
}

void CString::AppendFormatV(const char* fmt, va_list args)
{
    char small[256];
    CString big;
    const int n = FormatText(fmt, args, small, big);
    if (n >= 0)
        Append(big.m_pchData ? big.m_pchData : small, n);
}
