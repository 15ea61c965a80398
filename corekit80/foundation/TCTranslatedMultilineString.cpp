// TCTranslatedMultilineString: line-by-line or single-call translation.
#include "corekit80/foundation/TCTranslatedMultilineString.h"

#include "corekit80/foundation/TCTranslator.h"

TCTranslatedMultilineString::TCTranslatedMultilineString() : TCTranslatedMultilineString(TCString()) {}

TCTranslatedMultilineString::TCTranslatedMultilineString(const char* text)
    : TCTranslatedMultilineString(TCString(text))
{
}

TCTranslatedMultilineString::TCTranslatedMultilineString(const TCString& text)
    : TCTranslatedString(text, RegisterLater), m_singleCall(false)
{
    Register();
}

TCTranslatedMultilineString::TCTranslatedMultilineString(const TCTranslatedMultilineString& other)
    : TCTranslatedString(TCString(), RegisterLater), m_singleCall(false)
{
    Copy(other);
    Register();
}

TCTranslatedMultilineString::~TCTranslatedMultilineString() { Unregister(); }

TCTranslatedMultilineString& TCTranslatedMultilineString::operator=(const char* text)
{
    TCTranslatedString::operator=(text);
    return *this;
}

TCTranslatedMultilineString& TCTranslatedMultilineString::operator=(const TCString& text)
{
    TCTranslatedString::operator=(text);
    return *this;
}

TCTranslatedMultilineString& TCTranslatedMultilineString::operator=(const TCTranslatedMultilineString& other)
{
    Copy(other);
    return *this;
}

void TCTranslatedMultilineString::SetTranslatedBySingleCall(bool singleCall)
{
    {
        std::lock_guard lock(m_lock);
        m_singleCall = singleCall;
    }
    Invalidate();
}

bool TCTranslatedMultilineString::IsTranslatedBySingleCall() const
{
    std::lock_guard lock(m_lock);
    return m_singleCall;
}

void TCTranslatedMultilineString::Copy(const TCTranslatedMultilineString& other)
{
    if (&other == this)
        return;
    TCTranslatedString::Copy(other);
    std::scoped_lock lock(m_lock, other.m_lock);
    m_singleCall = other.m_singleCall;
}

TCString TCTranslatedMultilineString::TranslateSource(const TCString& source) const
{
    if (m_singleCall)
        return TCTranslatedString::TranslateSource(source);
    // Every line, the last one included, gets its line end; text after the last line end
    // is a line of its own only when it is not empty.
    TCString translated;
    for (int start = 0; start < source.GetLength();) {
        int end = source.Find("\r\n", start);
        if (end < 0)
            end = source.GetLength();
        translated += CTranslator::TranslateString(source.Mid(start, end - start));
        translated += "\r\n";
        start = end + 2;
    }
    Trace("TCTranslatedMultilineString", "TCTranslatedMultilineString: '%s' -> '%s'\n",
          static_cast<const char*>(source), static_cast<const char*>(translated));
    return translated;
}
