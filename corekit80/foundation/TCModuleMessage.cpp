// TCModuleMessage: the installed handler, or the debugger output without one.
#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/foundation/TCModuleMessageImpl.h"

#include <cstdarg>

#include "corekit80/platform/TCDebugOutput.h"
#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/types/TCString.h"

std::atomic<TCModuleMessage::Handler> g_moduleMessageHandler{nullptr};

void TCModuleMessageResetHandler() { g_moduleMessageHandler.store(nullptr, std::memory_order_release); }

void TCModuleMessage::Init(long handler)
{
    Handler expected = nullptr;
    g_moduleMessageHandler.compare_exchange_strong(expected, reinterpret_cast<Handler>(handler),
                                  std::memory_order_acq_rel);
}

void TCModuleMessage::Send(const char* module, Types type, const char* message)
{
    if (!module)
        module = "";
    if (!message)
        message = "";
    if (Handler handler = g_moduleMessageHandler.load(std::memory_order_acquire)) {
        handler(module, type, message);
        return;
    }
    if (TCGetHostWindow())
        return;
    TCOutputDebugString(TCString::FormatS("TCMessage: modul='%s', type=%d, message='%s'\n", module,
                                          static_cast<int>(type), message));
}

#define TC_MODULE_MESSAGE_SENDER(name)                                                             \
    void TCModuleMessage::name(const char* module, const char* format, ...)                        \
    {                                                                                              \
        va_list args;                                                                              \
        va_start(args, format);                                                                    \
        TCString text = TCString::FormatVS(format ? format : "", args);                            \
        va_end(args);                                                                              \
        Send(module, Types::name, text);                                                           \
    }
TC_MODULE_MESSAGE_SENDER(Emergency)
TC_MODULE_MESSAGE_SENDER(Alert)
TC_MODULE_MESSAGE_SENDER(Critical)
TC_MODULE_MESSAGE_SENDER(Warning)
TC_MODULE_MESSAGE_SENDER(Notice)
TC_MODULE_MESSAGE_SENDER(Info)
TC_MODULE_MESSAGE_SENDER(Debug)
#undef TC_MODULE_MESSAGE_SENDER
