// CTranslator: the installed translator record and asking its dictionaries.
#include "corekit80/foundation/TCTranslator.h"

#include <atomic>

#include "corekit80/foundation/TCModuleMessage.h"

namespace {

std::atomic<const TC_TRANSLATOR*> g_translator{nullptr};

// Holds the record's own lock while its dictionaries are asked.
class RecordLock {
public:
    explicit RecordLock(const TC_TRANSLATOR* record) : m_record(record)
    {
        if (m_record->lock)
            m_record->lock(m_record);
    }
    ~RecordLock()
    {
        if (m_record->unlock)
            m_record->unlock(m_record);
    }
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

private:
    const TC_TRANSLATOR* m_record;
};

void WarnOutOfDate()
{
    TCModuleMessage::Warning("Translator",
                             "This Translator is out of date. Please use the new version 6.01 or later!");
}

// Asks the dictionaries in order; ask(dictionary) gives a result or null. store copies
// the first result while the record is still locked. False when no dictionary knew it.
template <class Ask, class Store>
bool AskDictionaries(const TC_TRANSLATOR* record, Ask ask, Store store)
{
    if (!record->dictionaries || record->dictionaryCount <= 0)
        return false;
    RecordLock lock(record);
    for (int32_t i = 0; i < record->dictionaryCount; ++i) {
        if (auto result = ask(record->dictionaries[i])) {
            store(result);
            return true;
        }
    }
    return false;
}

// The translation of text through the old callback; false without one or without a result.
bool TranslateOld(const TC_TRANSLATOR* record, const char* text, TCString& result)
{
    if (!record->oldTranslate)
        return false;
    return AskDictionaries(
        record, [&](void* dictionary) { return record->oldTranslate(dictionary, text); },
        [&](const char* found) { result = found; });
}

bool TranslateText(const char* text, TCString& result)
{
    const TC_TRANSLATOR* record = g_translator.load(std::memory_order_acquire);
    if (!record)
        return false;
    if (record->version < 2) {
        WarnOutOfDate();
        return TranslateOld(record, text, result);
    }
    if (!record->translate)
        return false;
    return AskDictionaries(
        record,
        [&](void* dictionary) {
            return static_cast<const char*>(record->translate(dictionary, TC_TRANSLATE_TEXT, text));
        },
        [&](const char* found) { result = found; });
}

}  // namespace

bool CTranslator::SetTranslatePtr(void* record)
{
    auto* translator = static_cast<const TC_TRANSLATOR*>(record);
    return translator && g_translator.exchange(translator, std::memory_order_acq_rel) != translator;
}

const TC_TRANSLATOR* CTranslator::GetTranslatePtr() { return g_translator.load(std::memory_order_acquire); }

CString& CTranslator::Translate(CString& text)
{
    const TC_TRANSLATOR* record = g_translator.load(std::memory_order_acquire);
    TCString result;
    if (record && TranslateOld(record, text, result))
        text = TCString2BinCString(result);
    return text;
}

CString CTranslator::TranslateString(const CString& text)
{
    TCString result;
    return TranslateText(text, result) ? TCString2BinCString(result) : text;
}

TCString CTranslator::TranslateString(const char* text)
{
    if (!text)
        text = "";
    TCString result;
    return TranslateText(text, result) ? result : TCString(text);
}

TCLogFont CTranslator::TranslateFont(const TCLogFont& font)
{
    TCLogFont result = font;
    const TC_TRANSLATOR* record = g_translator.load(std::memory_order_acquire);
    if (!record)
        return result;
    if (record->version < 2) {
        WarnOutOfDate();
        return result;
    }
    if (record->translate) {
        const LOGFONTA& input = font;
        AskDictionaries(
            record,
            [&](void* dictionary) {
                return static_cast<const LOGFONTA*>(
                    record->translate(dictionary, TC_TRANSLATE_FONT, &input));
            },
            [&](const LOGFONTA* found) { result = *found; });
    }
    return result;
}
