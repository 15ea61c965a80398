#pragma once

// TCTranslatedFontCache, the process's shared translated fonts.

#include <list>
#include <mutex>

#include "corekit80/foundation/TCLogFont.h"
#include "corekit80/types/TCExport.h"

// The process's shared translated fonts: users of one font share one translation, which
// follows the language like every translated font. Fonts are told apart by IsEqual.
class TC_EXPORT TCTranslatedFontCache {
public:
    static TCTranslatedFontCache& Instance();
    ~TCTranslatedFontCache();
    TCTranslatedFontCache(const TCTranslatedFontCache&) = delete;
    TCTranslatedFontCache& operator=(const TCTranslatedFontCache&) = delete;

    // Counts one more user of font; returns the number of its users.
    int Add(const TCLogFont& font);
    // Counts one user less, dropping the font with its last user; false for a font not
    // in the cache.
    bool Del(const TCLogFont& font);
    // The translation of font: the shared one when the font is in the cache, else one
    // computed for this call.
    TCLogFont Translate(const TCLogFont& font);
    int GetSize() const;

private:
    struct Entry;
    TCTranslatedFontCache();
    std::list<Entry>::iterator Find(const TCLogFont& font);

    mutable std::mutex m_lock;
    std::list<Entry> m_entries;
};
