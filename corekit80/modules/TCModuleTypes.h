#pragma once

// PORTTYPE, CALLED_FROM, RET_PORT and ERR_MSG: the types at the boundary between host and module.

#include <cstdint>

#include "corekit80/types/TCString.h"

class TCIOStream;

// The kinds of port a module has. The port helper keeps two lists and takes the input
// list for PT_INPUT and the output list for any other value; PT_NONE means no port.
enum PORTTYPE : int32_t {
    PT_NONE = 0,
    PT_INPUT = 1,
    PT_OUTPUT = 2,
};

// Who asks for the validation data; only CF_BY_NAME changes what is done: ports then find
// the lines and types they had before a re-declaration by their names.
enum CALLED_FROM : int32_t {
    CF_HOST = 0,
    CF_MODULE = 1,
    CF_BY_NAME = 2,
};

// Filled by OnLeftDblClk to tell the host which port was double-clicked.
struct RET_PORT {
    PORTTYPE portType = PT_NONE;
    int32_t port = -1;
};

// The module's error record, which the host reads through message 16.
struct ERR_MSG {
    int32_t code = 0;
    // The input port's stream, or for an output port the fan given by second.
    TCIOStream* stream = nullptr;
    // The stream of the input port given by second.
    TCIOStream* stream2 = nullptr;
    TCString text;
    TCString text2;
    // Both -1 until the first error.
    int32_t port = -1;
    int32_t second = -1;
};
