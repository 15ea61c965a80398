#pragma once

// CDumpContext, the target of diagnostic dumps.

#include "corekit80/types/TCExport.h"

// The framework's target of diagnostic dumps. What is written goes to the debugger output
// (TCOutputDebugString), which is standard error unless the host installs a sink.
class TC_EXPORT CDumpContext {
public:
    CDumpContext& operator<<(const char* text);
    CDumpContext& operator<<(long long value);
    CDumpContext& operator<<(double value);
};
