#pragma once

// TC_TRANSLATOR, the host's translator record, and CTranslator, which uses it.

#include <cstdint>

#include "corekit80/foundation/TCLogFont.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// The host's translator, as the host hands it to the library. The host owns the record,
// its dictionaries and everything the callbacks return; the library only reads it.
// Every result a callback returns must stay valid until the record is unlocked.
extern "C" {

// Kinds of input of the translate callback.
enum { TC_TRANSLATE_TEXT = 1, TC_TRANSLATE_FONT = 2 };

struct TC_TRANSLATOR {
    // 2 or more: the current interface with the translate callback; below 2 only the
    // old callback is used.
    int32_t version;
    // The dictionaries, asked in this order; the first that knows an input wins.
    void* const* dictionaries;
    int32_t dictionaryCount;
    // Guard the dictionaries while the library asks them (either may be null).
    void (*lock)(const TC_TRANSLATOR* record);
    void (*unlock)(const TC_TRANSLATOR* record);
    // Old interface: the translation of a text, or null when the dictionary lacks it.
    const char* (*oldTranslate)(void* dictionary, const char* text);
    // Current interface: for TC_TRANSLATE_TEXT input and result are zero-terminated
    // texts, for TC_TRANSLATE_FONT they are LOGFONTA records; null when unknown.
    const void* (*translate)(void* dictionary, int kind, const void* input);
};

}  // extern "C"

// The process-wide translator of user-interface texts and fonts. Without one, or when no
// dictionary knows an input, the input is its own translation.
class TC_EXPORT CTranslator {
public:
    // Makes record (a TC_TRANSLATOR) the current translator when it is not null and not
    // the current one already; true when it was accepted.
    static bool SetTranslatePtr(void* record);
    static const TC_TRANSLATOR* GetTranslatePtr();

    // Translates text in place through the old callback, whatever the version.
    static CString& Translate(CString& text);
    static CString TranslateString(const CString& text);
    static TCString TranslateString(const char* text);
    static TCLogFont TranslateFont(const TCLogFont& font);
};
