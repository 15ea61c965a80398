// Paths in the system's form, and creating one folder.
#include "corekit80/platform/TCFileSystem.h"

#include <cerrno>
#include <sys/stat.h>

TCString TCNativePath(const char* path)
{
    TCString native(path);
    native.Replace('\\', '/');
    return native;
}

TCCreateDirectoryResult TCCreateDirectory(const char* path)
{
    const TCString native = TCNativePath(path);
    if (mkdir(native, 0777) == 0)
        return TC_DIR_CREATED;
    switch (errno) {
    case EEXIST: {
        struct stat st;
        return stat(native, &st) == 0 && S_ISDIR(st.st_mode) ? TC_DIR_EXISTS : TC_DIR_FAILED;
    }
    case ENOENT:
        return TC_DIR_NO_PARENT;
    default:
        return TC_DIR_FAILED;
    }
}
