// CArchiveException and AfxThrowArchiveException.
#include "corekit80/platform/CArchiveException.h"

#include "corekit80/platform/TCExceptionTextImpl.h"

CArchiveException::CArchiveException(int cause, const char* archiveName)
    : m_cause(cause), m_strFileName(archiveName)
{
}

CArchiveException::~CArchiveException() = default;

const char* CArchiveException::what() const noexcept
{
    static const char* const texts[] = {
        "no error",
        "unexpected archive error",
        "archive is loading",
        "unexpected end of archive",
        "archive is storing",
        "bad index in archive",
        "bad class in archive",
        "archive data in an unexpected form",
        "archive buffer full",
    };
    return TCCauseWithFile(m_what, m_cause >= none && m_cause <= bufferFull ? texts[m_cause] : texts[genericException],
                           m_strFileName);
}

void AfxThrowArchiveException(int cause, const char* archiveName)
{
    throw CArchiveException(cause, archiveName);
}
