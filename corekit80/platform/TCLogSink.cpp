// The log file under a log: locked open, gathering writes, sync and close.
#include "corekit80/platform/TCLogSinkImpl.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

constexpr int kMaxPieces = 8;

} // namespace

int TCLogSinkOpen(const char* path, bool append)
{
    if (!path || !*path)
        return -1;
    const int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : 0), 0666);
    if (fd < 0)
        return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || (!append && ftruncate(fd, 0) != 0)) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool TCLogSinkWrite(int fd, const TCLogSinkPiece* pieces, int count)
{
    if (fd < 0 || count < 0 || count > kMaxPieces)
        return false;
    iovec iov[kMaxPieces];
    int n = 0;
    for (int i = 0; i < count; ++i)
        if (pieces[i].size > 0)
            iov[n++] = {const_cast<void*>(pieces[i].data), pieces[i].size};
    // A regular file takes everything at once; a short write (a full disk, a signal)
    // goes on with the rest.
    int first = 0;
    while (first < n) {
        const ssize_t written = writev(fd, iov + first, n - first);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false;
        size_t left = size_t(written);
        while (first < n && left >= iov[first].iov_len)
            left -= iov[first++].iov_len;
        if (first < n) {
            iov[first].iov_base = static_cast<char*>(iov[first].iov_base) + left;
            iov[first].iov_len -= left;
        }
    }
    return true;
}

bool TCLogSinkSync(int fd) { return fd >= 0 && fdatasync(fd) == 0; }

bool TCLogSinkClose(int fd) { return fd >= 0 && close(fd) == 0; }
