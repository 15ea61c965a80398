// TCRolledBackCopy: a database and its hot journal copied under a shared lock.
#include "corekit80/platform/TCRolledBackCopyImpl.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

// SQLite's lock bytes on Unix: a reader holds a read lock on the shared range, taken while it
// holds a read lock on the pending byte, which a writer on its way to commit holds for writing.
constexpr off_t kPendingByte = 0x40000000;
constexpr off_t kSharedFirst = kPendingByte + 2;
constexpr off_t kSharedSize = 510;

bool Lock(int fd, short type, off_t start, off_t length)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    return fcntl(fd, F_SETLK, &lock) == 0;
}

bool WriteAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, static_cast<size_t>(size));
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// A missing source is copied as no file when it may be missing (the journal, rolled back
// meanwhile by someone who may).
bool CopyFile(const TCString& from, const TCString& to, bool mayBeMissing)
{
    const int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return mayBeMissing && errno == ENOENT;
    const int out = open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool ok = out >= 0;
    char buffer[1 << 16];
    for (ssize_t got; ok && (got = read(in, buffer, sizeof buffer)) != 0;)
        ok = got > 0 && WriteAll(out, buffer, got);
    if (out >= 0)
        ok = close(out) == 0 && ok;
    close(in);
    return ok;
}

}  // namespace

TCRolledBackCopy::TCRolledBackCopy(const char* file)
{
    const int fd = open(file, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    const bool locked = Lock(fd, F_RDLCK, kPendingByte, 1) && Lock(fd, F_RDLCK, kSharedFirst, kSharedSize);
    Lock(fd, F_UNLCK, kPendingByte, 1);
    const char* tmp = getenv("TMPDIR");
    TCString folder = TCString(tmp && *tmp ? tmp : "/tmp") + "/ck80profileXXXXXX";
    if (locked && mkdtemp(folder.GetBuffer(0))) {
        folder.ReleaseBuffer();
        m_folder = folder;
        const TCString copy = folder + "/copy.db";
        if (CopyFile(file, copy, false) && CopyFile(TCString(file) + "-journal", copy + "-journal", true))
            m_file = copy;
    }
    // Also releases the shared lock.
    close(fd);
}

TCRolledBackCopy::~TCRolledBackCopy()
{
    if (m_folder.IsEmpty())
        return;
    for (const char* name : {"/copy.db", "/copy.db-journal"})
        unlink(m_folder + name);
    rmdir(m_folder);
}
