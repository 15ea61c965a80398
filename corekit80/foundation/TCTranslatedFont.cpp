#include "corekit80/foundation/TCTranslatedFont.h"

#include "corekit80/foundation/TCTranslator.h"

TCTranslatedFont::TCTranslatedFont() : TCTranslatedFont(TCLogFont()) {}

TCTranslatedFont::TCTranslatedFont(const TCLogFont& font)
    : TCTranslated(RegisterLater), m_source(font), m_valid(false), m_seenSource(font)
{
    Register();
}

TCTranslatedFont::TCTranslatedFont(const TCTranslatedFont& other)
    : TCTranslated(RegisterLater), m_valid(false)
{
    Copy(other);
    Register();
}

TCTranslatedFont::~TCTranslatedFont() { Unregister(); }

TCTranslatedFont& TCTranslatedFont::operator=(const TCLogFont& font)
{
    std::lock_guard lock(m_lock);
    m_source = font;
    m_seenSource = font;
    m_valid = false;
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
    if (IsCheckingHiddenChanges() && !m_seenSource.IsSame(m_source)) {
        m_seenSource = m_source;
        m_valid = false;
    }
    if (!m_valid) {
        m_translated = CTranslator::TranslateFont(m_source);
        m_valid = true;
        Trace("TCTranslatedFont", "TranslateFont: '%.32s/%d' -> '%.32s/%d'\n", m_source.lfFaceName,
              m_source.lfHeight, m_translated.lfFaceName, m_translated.lfHeight);
    }
    return m_translated;
}

TCLogFont& TCTranslatedFont::Translate(TCLogFont& result) const { return result = Translate(); }

void TCTranslatedFont::Invalidate()
{
    std::lock_guard lock(m_lock);
    m_valid = false;
}

bool TCTranslatedFont::IsValid() const
{
    std::lock_guard lock(m_lock);
    return m_valid;
}

void TCTranslatedFont::Copy(const TCTranslatedFont& other)
{
    if (&other == this)
        return;
    std::scoped_lock lock(m_lock, other.m_lock);
    m_source = other.m_source;
    m_translated = other.m_translated;
    m_valid = other.m_valid;
    m_seenSource = other.m_seenSource;
}

void TCTranslatedFont::OnLanguageChanged() { Invalidate(); }

TCLogFont TCTranslatedFont::GetSource() const
{
    std::lock_guard lock(m_lock);
    return m_source;
}
