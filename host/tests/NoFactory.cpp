// A shared library that tells its interface versions but makes no modules.
#include "corekit80/modules/TCModuleLibrary.h"

int TCGetInterfaceVersionProvidedByModule() { return 800; }
int TCGetInterfaceVersionRequiredByModule() { return 800; }
