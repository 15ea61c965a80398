#pragma once

// CFileException, thrown by CFile and CMemFile.

#include <string>

#include "corekit80/types/CException.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

// Thrown by value by CFile and CMemFile when an operation on the file fails; m_cause
// tells why and m_lOsError holds the system's error number (-1 when there is none).
// what() names the cause and, when known, the file: "file not found: /data/a.tc2".
class TC_EXPORT CFileException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);
    ~CFileException() override;
    const char* what() const noexcept override;

    // The cause that matches a system error number (errno).
    static int OsErrorToException(long osError);

    int m_cause;
    long m_lOsError;
    CString m_strFileName;

private:
    mutable std::string m_what; // what() builds it on every call: m_strFileName is public
};

[[noreturn]] TC_EXPORT void AfxThrowFileException(int cause, long osError = -1,
                                                  const char* fileName = nullptr);
