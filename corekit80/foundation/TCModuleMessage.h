#pragma once

// TCModuleMessage, the channel of modules' diagnostic messages to the host.

#include "corekit80/types/TCExport.h"

// The channel for diagnostic messages of modules: one process-wide handler, installed
// by the host, receives every message with its module name and severity. Without a
// handler the messages go to the debugger output, unless the application has a main
// window (then the host has chosen not to listen and they are dropped).
class TC_EXPORT TCModuleMessage {
public:
    // Severity bits.
    enum class Types : int {
        Emergency = 1,
        Alert = 2,
        Critical = 4,
        Warning = 8,
        Notice = 16,
        Info = 32,
        Debug = 64,
    };
    typedef void (*Handler)(const char* module, Types type, const char* message);

    // Installs the handler given as its address; the first non-null one stays in force.
    static void Init(long handler);
    static void Send(const char* module, Types type, const char* message);

    // printf-style senders, one per severity.
    static void Emergency(const char* module, const char* format, ...) TC_PRINTF(2, 3);
    static void Alert(const char* module, const char* format, ...) TC_PRINTF(2, 3);
    static void Critical(const char* module, const char* format, ...) TC_PRINTF(2, 3);
    static void Warning(const char* module, const char* format, ...) TC_PRINTF(2, 3);
    static void Notice(const char* module, const char* format, ...) TC_PRINTF(2, 3);
    static void Info(const char* module, const char* format, ...) TC_PRINTF(2, 3);
    static void Debug(const char* module, const char* format, ...) TC_PRINTF(2, 3);
};
