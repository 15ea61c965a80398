// Errors shown to the user through the host window, or as module messages.
#include "corekit80/modules/TCError.h"

#include <atomic>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/modules/TCErrorImpl.h"
#include "corekit80/platform/TCHostWindow.h"

namespace {
typedef void (*ErrorCallback)(const char* module, const char* text);
std::atomic<ErrorCallback> g_callback{nullptr};
}

int TCError(const char* module, const char* text, int type, CWnd* parent)
{
    if (type != TCERROR_RECORD::TYPE_ERROR && type != TCERROR_RECORD::TYPE_WARNING)
        type = TCERROR_RECORD::TYPE_ERROR;
    if (TCHostWindow* host = TCGetHostWindow()) {
        TCERROR_RECORD record{module, text, type, 1, parent};
        host->Send(TCERROR_RECORD::HOST_MESSAGE, TCERROR_RECORD::REQUEST, reinterpret_cast<long>(&record));
        return -2;
    }
    TCModuleMessage::Send(module, TCModuleMessage::Types::Critical, text);
    if (ErrorCallback callback = g_callback.load(std::memory_order_acquire))
        callback(module, text);
    return -2;
}

int TCError(const char* module, const char* text, int type) { return TCError(module, text, type, nullptr); }

int TCError(const char* module, const char* text)
{
    return TCError(module, text, TCERROR_RECORD::TYPE_ERROR, nullptr);
}

int TCError_SetErrorMessageCallback(long callback)
{
    ErrorCallback wanted = reinterpret_cast<ErrorCallback>(callback);
    ErrorCallback expected = nullptr;
    if (g_callback.compare_exchange_strong(expected, wanted, std::memory_order_acq_rel))
        return 1;
    return expected == wanted ? 1 : 0;
}

void TCError_ResetErrorMessageCallback() { g_callback.store(nullptr, std::memory_order_release); }
