#pragma once

// The exports of a module library: its factory, its type names and its interface versions.

#include "corekit80/types/TCExport.h"

class ArchiveParser;
class TCBaseModule;

// What a module library exports for the host, by these undecorated names. Include this
// header where they are defined, so that they are exported although symbols are hidden by
// default.
extern "C" {
// A new module of the named type (one of TCModuleTypeNames) with its instance number; null
// for an unknown name. The host owns the module and deletes it through its virtual
// destructor.
TC_EXPORT TCBaseModule* TCCreateModule(const char* typeName, int instance);
// The type names the library makes, ending with a null pointer.
TC_EXPORT const char* const* TCModuleTypeNames();
// The interface version the library was built for and the oldest it accepts.
TC_EXPORT int TCGetInterfaceVersionProvidedByModule();
TC_EXPORT int TCGetInterfaceVersionRequiredByModule();
// Optional: stores the module's settings into the archive section the host hands over, or
// loads them from it, as the archive says (IsStoring). The host keeps the section with the
// module in the graph file; a library without this export has modules without settings.
TC_EXPORT void TCSerializeModule(TCBaseModule* module, ArchiveParser* section);
}

typedef TCBaseModule* (*TCCreateModuleFn)(const char* typeName, int instance);
typedef const char* const* (*TCModuleTypeNamesFn)();
typedef int (*TCModuleVersionFn)();
typedef void (*TCSerializeModuleFn)(TCBaseModule* module, ArchiveParser* section);
