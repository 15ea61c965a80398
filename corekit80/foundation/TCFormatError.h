#pragma once

// TCFormatError, the names and texts of system error codes.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Texts of the system's error codes (errno values): their symbolic names, their
// messages, and composed error texts such as "2 (ENOENT): No such file or directory".
class TC_EXPORT TCFormatError {
public:
    // Symbolic name of a code ("ENOENT"; "SUCCESS" for 0), or "Unknown error".
    static const char* GetErrorConstant(unsigned long code);
    // The system's message text for a code, trailing white space removed.
    static TCString GetLastErrorText(unsigned long code);
    // code formatted with codeFormat (null: "%d"); then " (name)", where a null name
    // means the code's symbolic name and an empty one none; ":"; " text" when text is
    // not empty; " (detail)" when detail is not empty; trailing ':' removed.
    static TCString AsString(int code, const char* name, const char* text, const char* detail,
                             const char* codeFormat);
    // AsString with the code's name and message, a printf-formatted detail and "%d".
    static TCString ErrorAsString(int code, const char* detailFormat, ...) TC_PRINTF(2, 3);
    // ErrorAsString for the calling thread's last error (errno).
    static TCString LastErrorAsString(const char* detailFormat, ...) TC_PRINTF(1, 2);

private:
    static TCString ErrorAsStringV(int code, const char* detailFormat, va_list args);
};
