#include "corekit80/platform/TCThreadIdImpl.h"

#include <unistd.h>

int TCCurrentThreadId()
{
    static thread_local const int id = int(gettid());
    return id;
}
