#pragma once

// TCGetEnvironmentVariable, the value of a process environment variable.

#include "corekit80/types/TCString.h"

// The value of a process environment variable; false (and an empty value) when it is not
// set. Names that no variable can have (empty, or with '=') are never set.
bool TCGetEnvironmentVariable(const char* name, TCString& value);
