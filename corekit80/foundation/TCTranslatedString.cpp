// TCTranslatedString: the cached translation of a text and its invalidation.
#include "corekit80/foundation/TCTranslatedString.h"

#include "corekit80/foundation/TCTranslator.h"

TCTranslatedString::TCTranslatedString(const TCString& text, RegistrationTime when)
    : TCTranslated(RegisterLater), m_value(text)
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
    m_value.SetSource(text);
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
    return m_value.Get(
        IsCheckingHiddenChanges(), [](const TCString& a, const TCString& b) { return a.CompareBin(b) == 0; },
        [this](const TCString& source) { return TranslateSource(source); });
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
    m_value.Invalidate();
}

bool TCTranslatedString::IsValid() const
{
    std::lock_guard lock(m_lock);
    return m_value.IsValid();
}

void TCTranslatedString::Copy(const TCTranslatedString& other)
{
    if (&other == this)
        return;
    std::scoped_lock lock(m_lock, other.m_lock);
    m_value = other.m_value;
}

void TCTranslatedString::OnLanguageChanged() { Invalidate(); }

TCString TCTranslatedString::GetSource() const
{
    std::lock_guard lock(m_lock);
    return m_value.Source();
}
