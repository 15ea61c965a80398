#pragma once

// CArchiveException, thrown by CArchive and the archive readers.

#include <string>

#include "corekit80/types/CException.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

// Thrown by value by CArchive and the archive readers built on it; m_cause tells why.
// what() names the cause and, when known, the archive's file.
class TC_EXPORT CArchiveException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        readOnly = 2,     // writing to an archive that is loading
        endOfFile = 3,    // the data ended early
        writeOnly = 4,    // reading from an archive that is storing
        badIndex = 5,
        badClass = 6,
        badSchema = 7,    // the data is not in the expected form
        bufferFull = 8,
    };

    explicit CArchiveException(int cause = none, const char* archiveName = nullptr);
    ~CArchiveException() override;
    const char* what() const noexcept override;

    int m_cause;
    CString m_strFileName;

private:
    mutable std::string m_what; // what() builds it on every call: m_strFileName is public
};

[[noreturn]] TC_EXPORT void AfxThrowArchiveException(int cause, const char* archiveName = nullptr);
