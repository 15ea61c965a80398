// Reading a process environment variable into a TCString.
#include "corekit80/platform/TCEnvironmentImpl.h"

#include <cstdlib>
#include <cstring>

bool TCGetEnvironmentVariable(const char* name, TCString& value)
{
    const char* found = name && *name && !strchr(name, '=') ? getenv(name) : nullptr;
    value = found ? found : "";
    return found != nullptr;
}
