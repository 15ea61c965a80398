// TCFormatError: errno names, messages and composed error texts.
#include "corekit80/foundation/TCFormatError.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstring>

namespace {

constexpr const char* kUnknownError = "Unknown error";

} // namespace

const char* TCFormatError::GetErrorConstant(unsigned long code)
{
    // The C library has no name for 0 (it answers "0").
    if (code == 0)
        return "SUCCESS";
    const char* name = code <= INT_MAX ? strerrorname_np(int(code)) : nullptr;
    return name ? name : kUnknownError;
}

TCString TCFormatError::GetLastErrorText(unsigned long code)
{
    char buffer[256];
    const char* text = code <= INT_MAX ? strerror_r(int(code), buffer, sizeof buffer) : kUnknownError;
    TCString s(text);
    s.TrimRight();
    return s;
}

TCString TCFormatError::AsString(int code, const char* name, const char* text, const char* detail,
                                 const char* codeFormat)
{
    TCString s;
    s.Format(codeFormat ? codeFormat : "%d", code);
    if (!name)
        s.FormatAppend(" (%s)", GetErrorConstant((unsigned long)code));
    else if (*name)
        s.FormatAppend(" (%s)", name);
    s += ':';
    if (text && *text) {
        s += ' ';
        s += text;
    }
    if (detail && *detail)
        s.FormatAppend(" (%s)", detail);
    s.TrimRight(':');
    return s;
}

TCString TCFormatError::ErrorAsStringV(int code, const char* detailFormat, va_list args)
{
    const TCString detail = detailFormat ? TCString::FormatVS(detailFormat, args) : TCString();
    return AsString(code, nullptr, GetLastErrorText((unsigned long)code), detail, "%d");
}

TCString TCFormatError::ErrorAsString(int code, const char* detailFormat, ...)
{
    va_list args;
    va_start(args, detailFormat);
    TCString s = ErrorAsStringV(code, detailFormat, args);
    va_end(args);
    return s;
}

TCString TCFormatError::LastErrorAsString(const char* detailFormat, ...)
{
    const int code = errno;
    va_list args;
    va_start(args, detailFormat);
    TCString s = ErrorAsStringV(code, detailFormat, args);
    va_end(args);
    return s;
}
