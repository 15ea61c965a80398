#pragma once

// The built-in captions and choices of property-dialog items, in English and German.

#include "corekit80/types/TCExport.h"

// Numbers of the built-in texts.
enum TCPropertyDialogStringId : int {
    TCPD_STR_DISPLAY = 0,
    TCPD_STR_PARAMETER_SOURCE = 1,
    TCPD_STR_INTERNAL = 2,
    TCPD_STR_EXTERNAL = 3,
    TCPD_STR_DATABASE = 4,
    TCPD_STR_YES = 5,
    TCPD_STR_NO = 6,
    TCPD_STR_ON = 7,
    TCPD_STR_OFF = 8,
    TCPD_STR_GENERAL_PROPERTIES = 9,
};

// The text of number in the resource language (TCGetResourceLanguage); "" outside 0 .. 9.
TC_EXPORT const char* TCPropertyDialogString(int number);
