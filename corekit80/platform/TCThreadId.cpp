// The kernel's id of the calling thread, read once per thread and kept.
#include "corekit80/platform/TCThreadIdImpl.h"

#include <unistd.h>

int TCCurrentThreadId()
{
    static thread_local const int id = int(gettid());
    return id;
}
