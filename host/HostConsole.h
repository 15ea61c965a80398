#pragma once

// HostConsole, the host's main window on a terminal: what modules tell the user.

#include <cstdio>
#include <string>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/platform/TCHostWindow.h"

// The host's main window while it lives. Error records (40009/11) become
// "error: MODULE: TEXT" (or "warning: ...") on standard error; validation records (40009/2)
// are kept for the line that names the refused line, and questions about differing
// declarators are answered yes; balloon tips become notes; help requests and dialogs are
// ignored. Module messages: warnings and worse go to standard error, notices and infos to
// standard output as "MODULE: TEXT", debug messages are dropped.
class HostConsole : public TCHostWindow {
public:
    HostConsole();
    ~HostConsole() override;
    HostConsole(const HostConsole&) = delete;
    HostConsole& operator=(const HostConsole&) = delete;

    long Send(unsigned message, unsigned long wParam, long lParam) override;
    // The module-message handler, handed to modules with host message 27.
    static long HandlerAddress();

    // The refusals reported by validation since the last call ("A vs B; C vs D").
    std::string TakeValidation();
    // Error records shown so far.
    int Errors() const { return m_errors; }

private:
    static void OnModuleMessage(const char* module, TCModuleMessage::Types type, const char* text);

    TCHostWindow* m_previous;
    std::string m_validation;
    int m_errors = 0;
};
