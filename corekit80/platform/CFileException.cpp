// CFileException, its causes from errno values, and AfxThrowFileException.
#include "corekit80/platform/CFileException.h"

#include <cerrno>

#include "corekit80/platform/TCExceptionTextImpl.h"

CFileException::CFileException(int cause, long osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

CFileException::~CFileException() = default;

const char* CFileException::what() const noexcept
{
    static const char* const texts[] = {
        "no error",
        "unexpected file error",
        "file not found",
        "bad path",
        "too many open files",
        "access denied",
        "invalid file",
        "cannot remove current directory",
        "directory full",
        "bad seek",
        "hardware I/O error",
        "sharing violation",
        "lock violation",
        "disk full",
        "unexpected end of file",
    };
    return TCCauseWithFile(m_what, m_cause >= none && m_cause <= endOfFile ? texts[m_cause] : texts[genericException],
                           m_strFileName);
}

int CFileException::OsErrorToException(long osError)
{
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

void AfxThrowFileException(int cause, long osError, const char* fileName)
{
    throw CFileException(cause, osError, fileName);
}
