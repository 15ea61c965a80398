// Conversions between TCString and UTF-16 text or the framework string class.
#include <climits>
#include <cstdlib>
#include <new>
#include <utility>
#include <algorithm>

#include "corekit80/types/CString.h"
#include "corekit80/types/TCCodePage.h"
#include "corekit80/types/TCString.h"

namespace {

int Utf16Length(const char16_t* w)
{
    long long n = 0;
    while (w[n])
        ++n;
    if (n > INT_MAX)
        throw std::bad_alloc();
    return static_cast<int>(n);
}

} // namespace

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
