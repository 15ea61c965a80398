// CFile: opening, reading and writing, with saves under a temporary renamed on Close.
#include "corekit80/platform/CFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>

namespace {

// Longest file name that still gets a temporary named after it; longer names could
// push the temporary's name beyond the system's limit.
constexpr int kMaxNamedTemporary = 200;

CString FullPath(const char* path)
{
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? CString(path) : CString(full.lexically_normal().c_str());
}

// errno of the failure, or 0.
int WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        ssize_t r = ::write(fd, p, n);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += r;
        n -= size_t(r);
    }
    return 0;
}

int CopyContent(int from, int to)
{
    char buffer[65536];
    for (;;) {
        ssize_t r = ::read(from, buffer, sizeof buffer);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (r == 0)
            return ::lseek(to, 0, SEEK_SET) < 0 ? errno : 0;
        if (int error = WriteAll(to, buffer, size_t(r)))
            return error;
    }
}

// A fresh name beside target: hidden, and telling whose temporary it is.
CString TemporaryName(const CString& target)
{
    static std::atomic<unsigned> counter{std::random_device{}()};
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    int slash = target.ReverseFind('/');
    CString name = target.Mid(slash + 1);
    CString result = target.Left(slash + 1) + '.' +
                     (name.GetLength() <= kMaxNamedTemporary ? name : CString("ck80")) + "~";
    unsigned v = counter.fetch_add(0x9E3779B9u) ^ unsigned(::getpid());
    for (int i = 0; i < 8; ++i, v /= 36)
        result += digits[v % 36];
    return result;
}

// The file that a write to path replaces: the target of a symbolic link.
CString ResolveTarget(const char* path)
{
    struct stat st;
    if (::lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path, nullptr)) {
            CString resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return CString(path);
}

} // namespace

CFile::CFile() : m_fd(-1), m_readable(false), m_writable(false), m_writeError(0), m_uncaught(0) {}

CFile::CFile(const char* fileName, unsigned openFlags) : CFile()
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

CFile::~CFile()
{
    if (m_fd < 0)
        return;
    if (std::uncaught_exceptions() > m_uncaught) {
        Abort();
        return;
    }
    try {
        Close();
    } catch (...) {
        // Close has removed the temporary; a destructor cannot report more.
    }
}

bool CFile::Open(const char* fileName, unsigned openFlags, CFileException* error)
{
    int osError = EBUSY;  // already open
    if (m_fd < 0) {
        osError = ENOENT;
        if (fileName && *fileName) {
            m_strFileName = FullPath(fileName);
            bool opened = (openFlags & 3) == modeRead ? OpenForReading(fileName, openFlags, osError)
                          : (openFlags & modeInPlace) ? OpenInPlace(fileName, openFlags, osError)
                                                      : OpenTemporary(fileName, openFlags, osError);
            if (opened) {
                m_uncaught = std::uncaught_exceptions();
                return true;
            }
            Reset();
        }
    }
    if (error)
        *error = CFileException(CFileException::OsErrorToException(osError), osError, fileName);
    return false;
}

bool CFile::OpenForReading(const char* path, unsigned flags, int& error)
{
    int oflags = O_RDONLY | O_CLOEXEC;
    if (flags & modeCreate)
        oflags = O_RDWR | O_CREAT | O_CLOEXEC | ((flags & modeNoTruncate) ? 0 : O_TRUNC);
    m_fd = ::open(path, oflags, 0666);
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        error = m_fd < 0 ? errno : EISDIR;
        return false;
    }
    m_readable = true;
    return true;
}

bool CFile::OpenInPlace(const char* path, unsigned flags, int& error)
{
    int oflags = ((flags & 3) == modeWrite ? O_WRONLY : O_RDWR) | O_CLOEXEC;
    if (flags & modeCreate)
        oflags |= O_CREAT | ((flags & modeNoTruncate) ? 0 : O_TRUNC);
    m_fd = ::open(path, oflags, 0666);
    if (m_fd < 0) {
        error = errno;
        return false;
    }
    m_readable = (flags & 3) != modeWrite;
    m_writable = true;
    return true;
}

bool CFile::OpenTemporary(const char* path, unsigned flags, int& error)
{
    m_target = ResolveTarget(path);
    struct stat st;
    bool exists = ::stat(m_target, &st) == 0;
    if (!exists && (errno != ENOENT || !(flags & modeCreate))) {
        error = errno;
        return false;
    }
    if (exists && S_ISDIR(st.st_mode)) {
        error = EISDIR;
        return false;
    }
    // Devices and pipes cannot be replaced; they are written as they are.
    if (exists && !S_ISREG(st.st_mode))
        return OpenInPlace(path, flags, error);
    // Renaming would replace a file that the user may not write.
    if (exists && ::access(m_target, W_OK) != 0) {
        error = errno;
        return false;
    }

    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temporary = TemporaryName(m_target);
        m_fd = ::open(m_temporary, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt == 100)) {
            error = errno;
            m_temporary.Empty();
            return false;
        }
    }
    m_readable = (flags & 3) != modeWrite;
    m_writable = true;
    if (!exists)
        return true;

    ::fchmod(m_fd, st.st_mode & 07777);
    bool truncate = (flags & modeCreate) && !(flags & modeNoTruncate);
    if (!truncate) {
        int old = ::open(m_target, O_RDONLY | O_CLOEXEC);
        error = old < 0 ? errno : CopyContent(old, m_fd);
        if (old >= 0)
            ::close(old);
        if (error) {
            Abort();
            return false;
        }
    }
    return true;
}

void CFile::Reset()
{
    m_fd = -1;
    m_readable = m_writable = false;
    m_writeError = 0;
    m_target.Empty();
    m_temporary.Empty();
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    int error = 0;
    if (!m_temporary.IsEmpty()) {
        if (m_writeError)
            error = m_writeError;
        else if (::fsync(m_fd) != 0)
            error = errno;
        if (::close(m_fd) != 0 && !error)
            error = errno;
        if (!error && ::rename(m_temporary, m_target) != 0)
            error = errno;
        if (error)
            ::unlink(m_temporary);
    } else if (::close(m_fd) != 0) {
        error = errno;
    }
    CString name = m_strFileName;
    Reset();
    if (error)
        throw CFileException(CFileException::OsErrorToException(error), error, name);
}

void CFile::Abort()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        if (!m_temporary.IsEmpty())
            ::unlink(m_temporary);
    }
    Reset();
}

void CFile::Flush()
{
    // Nothing is buffered here; Close syncs a file before it replaces its target.
}

void CFile::CheckOpen() const
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

void CFile::ThrowOsError(int error) const
{
    throw CFileException(CFileException::OsErrorToException(error), error, m_strFileName);
}

uint64_t CFile::GetPosition() const
{
    CheckOpen();
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        ThrowOsError(errno);
    return uint64_t(pos);
}

uint64_t CFile::GetLength() const
{
    CheckOpen();
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        ThrowOsError(errno);
    return uint64_t(st.st_size);
}

void CFile::SetLength(uint64_t newLength)
{
    CheckOpen();
    if (!m_writable)
        ThrowOsError(EBADF);
    if (newLength > uint64_t(INT64_MAX) || ::ftruncate(m_fd, off_t(newLength)) != 0) {
        m_writeError = newLength > uint64_t(INT64_MAX) ? EFBIG : errno;
        ThrowOsError(m_writeError);
    }
}

uint64_t CFile::Seek(int64_t offset, unsigned from)
{
    CheckOpen();
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    off_t pos = from <= end ? ::lseek(m_fd, offset, whence[from]) : -1;
    if (pos < 0)
        throw CFileException(CFileException::badSeek, from <= end ? errno : EINVAL, m_strFileName);
    return uint64_t(pos);
}

unsigned CFile::Read(void* buffer, unsigned count)
{
    CheckOpen();
    if (!m_readable)
        ThrowOsError(EBADF);
    char* p = static_cast<char*>(buffer);
    unsigned done = 0;
    while (done < count) {
        ssize_t r = ::read(m_fd, p + done, count - done);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno);
        }
        if (r == 0)
            break;
        done += unsigned(r);
    }
    return done;
}

void CFile::Write(const void* buffer, unsigned count)
{
    CheckOpen();
    if (!m_writable)
        ThrowOsError(EBADF);
    if (int error = WriteAll(m_fd, static_cast<const char*>(buffer), count)) {
        m_writeError = error;
        ThrowOsError(error);
    }
}

CString CFile::GetFilePath() const { return m_strFileName; }

CString CFile::GetFileName() const
{
    return m_strFileName.Mid(m_strFileName.ReverseFind('/') + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

void CFile::SetFilePath(const char* newName) { m_strFileName = newName; }

void CFile::Rename(const char* oldName, const char* newName)
{
    if (!oldName || !newName || std::rename(oldName, newName) != 0) {
        int error = oldName && newName ? errno : EINVAL;
        throw CFileException(CFileException::OsErrorToException(error), error, oldName);
    }
}

void CFile::Remove(const char* fileName)
{
    if (!fileName || ::unlink(fileName) != 0) {
        int error = fileName ? errno : EINVAL;
        throw CFileException(CFileException::OsErrorToException(error), error, fileName);
    }
}
