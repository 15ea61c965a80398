// TCModuleHarness as the host's main window and module-message handler: what reaches the host.
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCModuleHarnessImpl.h"

#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCShowBalloon.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

namespace {
// The handler handed over with message 27 stays the process's once installed: it records at
// whichever harness lives.
TCModuleHarness::Impl* g_liveHarness = nullptr;

const char* Text(const char* s) { return s ? s : ""; }
}

TCModuleHarness::Impl::Impl(TCBaseModule& module)
    : module(module), previousWindow(TCGetHostWindow()), previousHarness(g_liveHarness)
{
    TCSetHostWindow(this);
    g_liveHarness = this;
}

TCModuleHarness::Impl::~Impl()
{
    g_liveHarness = previousHarness;
    TCSetHostWindow(previousWindow);
}

long TCModuleHarness::Impl::Send(unsigned message, unsigned long wParam, long lParam)
{
    HostRecord r;
    r.message = message;
    r.request = uint32_t(wParam);
    if (message == TCERROR_RECORD::HOST_MESSAGE && lParam) {
        switch (wParam) {
        case TCERROR_RECORD::REQUEST: {
            const auto* e = reinterpret_cast<const TCERROR_RECORD*>(lParam);
            r.module = Text(e->module);
            r.text = Text(e->text);
            r.type = e->type;
            break;
        }
        case TCBALLOON_RECORD::REQUEST: {
            const auto* b = reinterpret_cast<const TCBALLOON_RECORD*>(lParam);
            r.text = Text(b->text);
            r.text2 = Text(b->title);
            r.type = b->icon;
            break;
        }
        case TCValidateActualPortType::REQUEST_VALIDATION: {
            auto* v = reinterpret_cast<TCValidateActualPortType::VALIDATION_STRUCT*>(lParam);
            r.module = Text(v->moduleName);
            r.text = Text(v->internalType);
            r.text2 = Text(v->actualType);
            r.type = v->code;
            if (v->code == TCValidateActualPortType::MSG_DECLARATOR_DIFFERS)
                v->answer = validationAnswer;
            break;
        }
        case TCValidateActualPortType::REQUEST_HELP:
            r.text = reinterpret_cast<const char*>(lParam);
            break;
        default:
            break;
        }
    }
    hostRecords.Add(r);
    return 0;
}

void TCModuleHarness::Impl::OnModuleMessage(const char* module, TCModuleMessage::Types type, const char* text)
{
    if (!g_liveHarness)
        return;
    ModuleMessage m;
    m.module = Text(module);
    m.type = int32_t(type);
    m.text = Text(text);
    g_liveHarness->moduleMessages.Add(m);
}

const TCArray<TCModuleHarness::HostRecord>& TCModuleHarness::HostRecords() const { return m_pImpl->hostRecords; }

const TCArray<TCModuleHarness::ModuleMessage>& TCModuleHarness::ModuleMessages() const
{
    return m_pImpl->moduleMessages;
}

void TCModuleHarness::ClearRecords()
{
    m_pImpl->hostRecords.RemoveAll();
    m_pImpl->moduleMessages.RemoveAll();
}
