#pragma once

// The interface versions of a loaded module library.

#include "corekit80/types/TCExport.h"

// Whether a module library fits this library: module is the handle of the loaded library
// (as dlopen returns it). The library's exports TCGetInterfaceVersionProvidedByModule and
// TCGetInterfaceVersionRequiredByModule are asked; a null handle, a missing export or a
// value below the floor (800 provided, 700 required) gives the floor.
extern "C" {
TC_EXPORT int TCGetInterfaceVersionProvidedByBase(void* module);
TC_EXPORT int TCGetInterfaceVersionRequiredByBase(void* module);
}
