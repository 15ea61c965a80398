// The loaded executable or shared library that holds an address, by dladdr.
#include "corekit80/platform/TCModuleFileImpl.h"

#include <dlfcn.h>

TCString TCModuleFileOfAddress(const void* address)
{
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return TCString();
    return TCString(info.dli_fname);
}
