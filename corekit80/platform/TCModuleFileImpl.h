#pragma once

// TCModuleFileOfAddress, the file of the loaded module that holds an address.

#include "corekit80/types/TCString.h"

// The file of the loaded executable or shared library that holds address (code or data),
// as the dynamic loader names it; empty when no loaded file holds it.
TCString TCModuleFileOfAddress(const void* address);
