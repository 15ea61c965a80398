#pragma once

// LoadStrRes and the string tables of the library and module libraries.

#include <cstdint>

#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// One row of a string table: a text in English and in German (either may be null).
struct _TC_StrResource {
    int32_t id;
    const char* english;
    const char* german;
};

// The text of the first row with id among count rows, in language (0 English, 1 German;
// values outside are clamped); the English text when the German one is null; the empty
// text when both are null or no row has id.
TC_EXPORT const char* LoadStrRes(int id, int language, int count, const _TC_StrResource* table);
// The same in the current resource language.
TC_EXPORT const char* LoadStrRes(int id, int count, const _TC_StrResource* table);

// The string resources of module libraries: each registers its tables under its own
// handle; the null handle holds the library's own. Tables must live until they are
// unregistered; a handle may hold several, searched in the order they were registered.
TC_EXPORT void TCRegisterStrResources(HINSTANCE module, int count, const _TC_StrResource* table);
// Drops every table of module.
TC_EXPORT void TCUnregisterStrResources(HINSTANCE module);
// The text of id among the tables of module (null: the library's own) in the current
// resource language; the empty text when none has it.
TC_EXPORT CString LoadStrRes(unsigned int id, HINSTANCE module);
