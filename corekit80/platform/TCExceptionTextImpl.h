#pragma once

// The what() text of the file and archive exceptions: the cause, then the file.

#include <string>

#include "corekit80/types/CString.h"

// what() of the file and archive exceptions: the cause, then the file when it is known
// ("file not found: /data/a.tc2"). Kept in text, whose buffer lives as long as the
// exception; the cause alone when building the text fails.
inline const char* TCCauseWithFile(std::string& text, const char* cause, const CString& file) noexcept
{
    if (file.IsEmpty())
        return cause;
    try {
        text.assign(cause).append(": ").append((const char*)file, size_t(file.GetLength()));
        return text.c_str();
    } catch (...) {
        return cause;
    }
}
