// HostConsole: error records, validation records and module messages on the terminal.
#include "HostConsole.h"

#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCShowBalloon.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

namespace {
// The module-message handler stays the process's once installed; it reports to the console
// that lives.
HostConsole* g_console = nullptr;

const char* Text(const char* s) { return s ? s : ""; }
}

HostConsole::HostConsole() : m_previous(TCGetHostWindow())
{
    TCSetHostWindow(this);
    g_console = this;
}

HostConsole::~HostConsole()
{
    g_console = nullptr;
    TCSetHostWindow(m_previous);
}

long HostConsole::Send(unsigned message, unsigned long wParam, long lParam)
{
    if (message != TCERROR_RECORD::HOST_MESSAGE || !lParam)
        return 0;
    switch (wParam) {
    case TCERROR_RECORD::REQUEST: {
        const auto* e = reinterpret_cast<const TCERROR_RECORD*>(lParam);
        const bool warning = e->type == TCERROR_RECORD::TYPE_WARNING;
        std::fprintf(stderr, "%s: %s: %s\n", warning ? "warning" : "error", Text(e->module), Text(e->text));
        if (!warning)
            ++m_errors;
        return 0;
    }
    case TCValidateActualPortType::REQUEST_VALIDATION: {
        auto* v = reinterpret_cast<TCValidateActualPortType::VALIDATION_STRUCT*>(lParam);
        if (v->code == TCValidateActualPortType::MSG_DECLARATOR_DIFFERS) {
            v->answer = 1;
            return 0;
        }
        if (!m_validation.empty())
            m_validation += "; ";
        if (v->code == TCValidateActualPortType::MSG_NO_TOKEN)
            m_validation += "neither end has a type";
        else
            m_validation += std::string(Text(v->actualType)) + " offered, " + Text(v->internalType) + " expected";
        return 0;
    }
    case TCBALLOON_RECORD::REQUEST: {
        const auto* b = reinterpret_cast<const TCBALLOON_RECORD*>(lParam);
        std::fprintf(stderr, "note: %s%s%s\n", Text(b->title), *Text(b->title) ? ": " : "", Text(b->text));
        return 0;
    }
    default:
        return 0;
    }
}

long HostConsole::HandlerAddress() { return reinterpret_cast<long>(&HostConsole::OnModuleMessage); }

std::string HostConsole::TakeValidation()
{
    std::string taken;
    taken.swap(m_validation);
    return taken;
}

void HostConsole::OnModuleMessage(const char* module, TCModuleMessage::Types type, const char* text)
{
    if (!g_console || type == TCModuleMessage::Types::Debug)
        return;
    const char* kind = nullptr;
    switch (type) {
    case TCModuleMessage::Types::Emergency: kind = "emergency"; break;
    case TCModuleMessage::Types::Alert: kind = "alert"; break;
    case TCModuleMessage::Types::Critical: kind = "critical"; break;
    case TCModuleMessage::Types::Warning: kind = "warning"; break;
    default: break;
    }
    if (kind)
        std::fprintf(stderr, "%s: %s: %s\n", kind, Text(module), Text(text));
    else
        std::printf("%s: %s\n", Text(module), Text(text));
}
