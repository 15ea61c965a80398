#pragma once

// The "C" locale and a scope that makes it the thread's locale for number text.

#include <locale.h>

// The "C" locale, made once. Number text is read and written in it whatever locale
// the host has set.
locale_t TCCLocale();

// Makes the "C" locale the calling thread's locale while it lives, so that printf
// and strtod family calls in its scope see '.' as the decimal point.
class TCCLocaleScope {
public:
    TCCLocaleScope() : m_old(uselocale(TCCLocale())) {}
    ~TCCLocaleScope() { uselocale(m_old); }
    TCCLocaleScope(const TCCLocaleScope&) = delete;
    TCCLocaleScope& operator=(const TCCLocaleScope&) = delete;

private:
    locale_t m_old;
};
