#pragma once

// The process-wide handler of module messages, and its reset for tests.

#include <atomic>

#include "corekit80/foundation/TCModuleMessage.h"

// The first non-null handler installed stays in force for the life of the process.
extern std::atomic<TCModuleMessage::Handler> g_moduleMessageHandler;

// Forgets the handler, so that each test starts without one. Only tests call it.
void TCModuleMessageResetHandler();
