#pragma once

// TCOutputDebugString and the sink that can replace standard error as its target.

#include "corekit80/types/TCExport.h"

// The debugger output: diagnostic lines that nobody else receives (traces, module
// messages without a handler or main window). They go to standard error unless a sink
// is installed, e.g. by a host with a console window of its own or by tests.
typedef void (*TCDebugOutputSink)(const char* text);

// Writes text unchanged (it carries its own line end). A null text writes nothing.
TC_EXPORT void TCOutputDebugString(const char* text);

// Installs a sink (null: standard error again); returns the previous one (null for
// standard error). The sink is called on the writing thread.
TC_EXPORT TCDebugOutputSink TCSetDebugOutputSink(TCDebugOutputSink sink);
