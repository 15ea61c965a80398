// The interface versions of a loaded module library, read from its exports.
#include "corekit80/modules/TCInterfaceVersion.h"

#include "corekit80/modules/TCModuleLibrary.h"
#include "corekit80/platform/TCSharedLibrary.h"

namespace {
int Version(void* module, const char* exportName, int floor)
{
    if (!module)
        return floor;
    auto fn = reinterpret_cast<TCModuleVersionFn>(TCSharedLibrary::Symbol(module, exportName));
    if (!fn)
        return floor;
    const int version = fn();
    return version < floor ? floor : version;
}
}

int TCGetInterfaceVersionProvidedByBase(void* module)
{
    return Version(module, "TCGetInterfaceVersionProvidedByModule", 800);
}

int TCGetInterfaceVersionRequiredByBase(void* module)
{
    return Version(module, "TCGetInterfaceVersionRequiredByModule", 700);
}
