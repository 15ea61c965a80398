#include "corekit80/foundation/TCTranslatedString.h"

#include "corekit80/foundation/TCTranslator.h"

TCTranslatedString::TCTranslatedString(const TCString& text, RegistrationTime when)
    : TCTranslated(RegisterLater), m_source(text), m_valid(false), m_seenSource(text)
{
    if (when == RegisterNow)
        Register();
}

TCTranslatedString::TCTranslatedString() : TCTranslatedString(TCString(), RegisterNow) {}

TCTranslatedString::TCTranslatedString(const char* text) : TCTranslatedString(TCString(text), RegisterNow) {}

TCTranslatedString::TCTranslatedString(const TCString& text) : TCTranslatedString(text, RegisterNow) {}

TCTranslatedString::TCTranslatedString(const TCTranslatedString& other)
    : TCTranslatedString(TCString(), RegisterLater)
{
    Copy(other);
    Register();
}

TCTranslatedString::~TCTranslatedString() { Unregister(); }

TCTranslatedString& TCTranslatedString::operator=(const char* text) { return *this = TCString(text); }

TCTranslatedString& TCTranslatedString::operator=(const TCString& text)
{
    std::lock_guard lock(m_lock);
    m_source = text;
    m_seenSource = text;
    m_valid = false;
    return *this;
}

TCTranslatedString& TCTranslatedString::operator=(const TCTranslatedString& other)
{
    Copy(other);
    return *this;
}

TCString TCTranslatedString::Translate() const
{
    std::lock_guard lock(m_lock);
    if (IsCheckingHiddenChanges() && m_seenSource.CompareBin(m_source) != 0) {
        m_seenSource = m_source;
        m_valid = false;
    }
    if (!m_valid) {
        m_translated = TranslateSource(m_source);
        m_valid = true;
    }
    return m_translated;
}

TCString TCTranslatedString::Translate(const char* text) { return CTranslator::TranslateString(text); }

TCString TCTranslatedString::TranslateSource(const TCString& source) const
{
    TCString translated = CTranslator::TranslateString(source);
    Trace("TCTranslatedString", "TranslateString: '%s' -> '%s'\n", static_cast<const char*>(source),
          static_cast<const char*>(translated));
    return translated;
}

void TCTranslatedString::Invalidate()
{
    std::lock_guard lock(m_lock);
    m_valid = false;
}

bool TCTranslatedString::IsValid() const
{
    std::lock_guard lock(m_lock);
    return m_valid;
}

void TCTranslatedString::Copy(const TCTranslatedString& other)
{
    if (&other == this)
        return;
    std::scoped_lock lock(m_lock, other.m_lock);
    m_source = other.m_source;
    m_translated = other.m_translated;
    m_valid = other.m_valid;
    m_seenSource = other.m_seenSource;
}

void TCTranslatedString::OnLanguageChanged() { Invalidate(); }

TCString TCTranslatedString::GetSource() const
{
    std::lock_guard lock(m_lock);
    return m_source;
}
