#pragma once

// TCError and its callback: errors shown to the user.

#include <cstdint>

#include "corekit80/types/TCExport.h"

class CWnd;

// Errors shown to the user. With a host main window the record below goes to it as window
// message 40009 with wParam 11 and the host shows it; without one the text goes out as a
// critical module message and to the registered callback. Always -2, so that a module can
// write "return TCError(...)" from Init or Fetch.
struct TCERROR_RECORD {
    enum { HOST_MESSAGE = 40009, REQUEST = 11 };
    // The kinds the host knows; any other becomes TYPE_ERROR.
    enum { TYPE_ERROR = 101, TYPE_WARNING = 102 };
    const char* module;
    const char* text;
    int32_t type;
    int32_t one;  // always 1
    CWnd* parent;
};

TC_EXPORT int TCError(const char* module, const char* text, int type, CWnd* parent);
TC_EXPORT int TCError(const char* module, const char* text, int type);
TC_EXPORT int TCError(const char* module, const char* text);

// Registers the process-wide callback void (*)(const char* module, const char* text) given as
// its address. The first registration wins: 1 when stored or when the same one is given
// again, 0 for another one, which is not stored.
TC_EXPORT int TCError_SetErrorMessageCallback(long callback);
