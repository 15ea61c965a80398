// TCTranslatedFontCache: shared translated fonts with use counts.
#include "corekit80/foundation/TCTranslatedFontCache.h"

#include "corekit80/foundation/TCTranslated.h"
#include "corekit80/foundation/TCTranslatedFont.h"
#include "corekit80/foundation/TCTranslator.h"
#include "corekit80/platform/TCDebugOutput.h"
#include "corekit80/types/TCString.h"

struct TCTranslatedFontCache::Entry {
    explicit Entry(const TCLogFont& font) : translated(font), uses(1) {}
    TCTranslatedFont translated;
    int uses;
};

TCTranslatedFontCache::TCTranslatedFontCache() = default;

TCTranslatedFontCache& TCTranslatedFontCache::Instance()
{
    static TCTranslatedFontCache cache;
    return cache;
}

TCTranslatedFontCache::~TCTranslatedFontCache()
{
    if (!TCTranslated::IsShowingTraces())
        return;
    TCOutputDebugString(TCString::FormatS("TCTranslatedFontCache: size = %d\n", static_cast<int>(m_entries.size())));
    int index = 0;
    for (const Entry& entry : m_entries) {
        TCLogFont source = entry.translated.GetSource();
        // The host's translator may be gone by now: only a stored translation is shown.
        TCLogFont translated = entry.translated.IsValid() ? entry.translated.Translate() : source;
        TCOutputDebugString(TCString::FormatS("TCTranslatedFontCache(%d): '%.32s/%d' -> '%.32s/%d'\n", index++,
                                              source.lfFaceName, source.lfHeight, translated.lfFaceName,
                                              translated.lfHeight));
    }
}

std::list<TCTranslatedFontCache::Entry>::iterator TCTranslatedFontCache::Find(const TCLogFont& font)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (TCLogFont::IsEqual(it->translated.GetSource(), font))
            return it;
    return m_entries.end();
}

int TCTranslatedFontCache::Add(const TCLogFont& font)
{
    std::lock_guard lock(m_lock);
    auto it = Find(font);
    if (it == m_entries.end()) {
        m_entries.emplace_back(font);
        return 1;
    }
    return ++it->uses;
}

bool TCTranslatedFontCache::Del(const TCLogFont& font)
{
    std::lock_guard lock(m_lock);
    auto it = Find(font);
    if (it == m_entries.end())
        return false;
    if (--it->uses == 0)
        m_entries.erase(it);
    return true;
}

TCLogFont TCTranslatedFontCache::Translate(const TCLogFont& font)
{
    std::lock_guard lock(m_lock);
    auto it = Find(font);
    return it == m_entries.end() ? CTranslator::TranslateFont(font) : it->translated.Translate();
}

int TCTranslatedFontCache::GetSize() const
{
    std::lock_guard lock(m_lock);
    return static_cast<int>(m_entries.size());
}
