// TCTranslatedFont: the cached translation of a font and its invalidation.
#include "corekit80/foundation/TCTranslatedFont.h"

#include "corekit80/foundation/TCTranslator.h"

TCTranslatedFont::TCTranslatedFont() : TCTranslatedFont(TCLogFont()) {}

TCTranslatedFont::TCTranslatedFont(const TCLogFont& font)
    : TCTranslated(RegisterLater), m_value(font)
{
    Register();
}

TCTranslatedFont::TCTranslatedFont(const TCTranslatedFont& other)
    : TCTranslated(RegisterLater)
{
    Copy(other);
    Register();
}

TCTranslatedFont::~TCTranslatedFont() { Unregister(); }

TCTranslatedFont& TCTranslatedFont::operator=(const TCLogFont& font)
{
    std::lock_guard lock(m_lock);
    m_value.SetSource(font);
    return *this;
}

TCTranslatedFont& TCTranslatedFont::operator=(const TCTranslatedFont& other)
{
    Copy(other);
    return *this;
}

TCLogFont TCTranslatedFont::Translate() const
{
    std::lock_guard lock(m_lock);
    return m_value.Get(
        IsCheckingHiddenChanges(), [](const TCLogFont& a, const TCLogFont& b) { return a.IsSame(b); },
        [this](const TCLogFont& source) {
            const TCLogFont translated = CTranslator::TranslateFont(source);
            Trace("TCTranslatedFont", "TranslateFont: '%.32s/%d' -> '%.32s/%d'\n", source.lfFaceName,
                  source.lfHeight, translated.lfFaceName, translated.lfHeight);
            return translated;
        });
}

TCLogFont& TCTranslatedFont::Translate(TCLogFont& result) const { return result = Translate(); }

void TCTranslatedFont::Invalidate()
{
    std::lock_guard lock(m_lock);
    m_value.Invalidate();
}

bool TCTranslatedFont::IsValid() const
{
    std::lock_guard lock(m_lock);
    return m_value.IsValid();
}

void TCTranslatedFont::Copy(const TCTranslatedFont& other)
{
    if (&other == this)
        return;
    std::scoped_lock lock(m_lock, other.m_lock);
    m_value = other.m_value;
}

void TCTranslatedFont::OnLanguageChanged() { Invalidate(); }

TCLogFont TCTranslatedFont::GetSource() const
{
    std::lock_guard lock(m_lock);
    return m_value.Source();
}
