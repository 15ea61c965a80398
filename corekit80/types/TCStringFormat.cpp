// TCString's printf-style formatting in the "C" locale: Format, FormatAppend and FormatS.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "corekit80/types/TCCLocaleImpl.h"
#include "corekit80/types/TCString.h"

namespace {

// The working size starts at 1024 characters and doubles until the result fits.
constexpr int kFirstWorkingSize = 1024;

int FormatC(char* out, size_t size, const char* fmt, va_list args)
{
    TCCLocaleScope c;
    va_list copy;
    va_copy(copy, args);
    const int r = std::vsnprintf(out, size, fmt, copy);
    va_end(copy);
    return r;
}

} // namespace

// Formats at offset, keeping the content before it. The text is formatted before the
// buffer changes, so arguments may point into this string.
TCString& TCString::FormatAt(int offset, const char* fmt, va_list args)
{
    if (!fmt)
        fmt = "";
    char local[kFirstWorkingSize + 1];
    const int r = FormatC(local, sizeof local, fmt, args);
    if (r < 0)
        return *this;
    long long size = kFirstWorkingSize;
    while (size < r)
        size *= 2;
    const int need = static_cast<int>(std::min<long long>(offset + size + 2, INT_MAX));
    if (offset + size + 2 > INT_MAX)
        throw std::bad_alloc();
    if (r <= kFirstWorkingSize) {
        EnsureAlloc(need);
        std::memcpy(m_buffer + offset, local, static_cast<size_t>(r) + 1);
    } else {
        const int alloc = std::max(need, m_alloc);
        char* fresh = static_cast<char*>(std::calloc(static_cast<size_t>(alloc), 1));
        if (!fresh)
            throw std::bad_alloc();
        if (offset > 0)
            std::memcpy(fresh, m_buffer, static_cast<size_t>(offset));
        FormatC(fresh + offset, static_cast<size_t>(size) + 1, fmt, args);
        std::free(m_buffer);
        m_buffer = fresh;
        m_alloc = alloc;
    }
    m_length = offset + r;
    return *this;
}

TCString& TCString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatAt(0, fmt, args);
    va_end(args);
    return *this;
}

TCString& TCString::FormatV(const char* fmt, va_list args) { return FormatAt(0, fmt, args); }

TCString& TCString::FormatAppend(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatAt(m_length, fmt, args);
    va_end(args);
    return *this;
}

TCString& TCString::FormatVAppend(const char* fmt, va_list args)
{
    return FormatAt(m_length, fmt, args);
}

TCString TCString::FormatS(const char* fmt, ...)
{
    TCString r;
    va_list args;
    va_start(args, fmt);
    r.FormatAt(0, fmt, args);
    va_end(args);
    return r;
}

TCString TCString::FormatVS(const char* fmt, va_list args)
{
    TCString r;
    r.FormatAt(0, fmt, args);
    return r;
}
