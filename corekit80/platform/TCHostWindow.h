#pragma once

// TCHostWindow, the host application's main window, and its installation.

#include "corekit80/types/TCExport.h"

class CWnd;

// The host application's main window as the library sees it: the channel for its
// synchronous window messages (40009 with a request number in wParam, 36001 to show a
// property dialog). A host derives from it and installs one instance at start-up; with
// none installed the application has no main window and such messages are not sent.
class TC_EXPORT TCHostWindow {
public:
    virtual ~TCHostWindow();
    // Delivers one message on the calling thread and returns the host's answer.
    virtual long Send(unsigned message, unsigned long wParam, long lParam) = 0;
    // The main window itself, for what is placed relative to it; null when the host does
    // not expose it.
    virtual CWnd* GetMainWnd() const;
};

// Installs the host window (null removes it); the caller keeps ownership.
TC_EXPORT void TCSetHostWindow(TCHostWindow* window);
// The installed host window, or null when the application has no main window.
TC_EXPORT TCHostWindow* TCGetHostWindow();
