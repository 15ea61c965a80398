#include "corekit80/platform/TCThreadId.h"

#include <unistd.h>

int TCCurrentThreadId()
{
    static thread_local const int id = int(gettid());
    return id;
}
