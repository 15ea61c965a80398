#pragma once

// The language of the library's user-interface texts, English or German.

#include "corekit80/types/TCExport.h"

// The language of the library's own user-interface texts: 0 English, 1 German.
// Initially it follows the user's locale (LC_ALL, else LC_MESSAGES, else LANG: German
// when it begins with "de"); once set, it is fixed.
TC_EXPORT int TCGetResourceLanguage();
// Fixes the language (clamped to 0 ... 1); returns the previous setting, -1 for the
// initial one that follows the locale.
TC_EXPORT int TCSetLoadStrResLanguage(int language);
