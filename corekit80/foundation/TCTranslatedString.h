#pragma once

// TCTranslatedString, a user-interface text translated on use.

#include "corekit80/foundation/TCTranslated.h"
#include "corekit80/foundation/TCTranslatedValue.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// A user-interface text that is translated on first use and whenever it is used again
// after a change of its text or of the language.
class TC_EXPORT TCTranslatedString : public TCTranslated {
public:
    TCTranslatedString();
    TCTranslatedString(const char* text);
    TCTranslatedString(const TCString& text);
    TCTranslatedString(const TCTranslatedString& other);
    ~TCTranslatedString() override;

    // Set the source text and drop the translation.
    TCTranslatedString& operator=(const char* text);
    TCTranslatedString& operator=(const TCString& text);
    TCTranslatedString& operator=(const TCTranslatedString& other);

    // The translation of the source text, computed when there is no valid one.
    TCString Translate() const;
    // The translation of text through the current translator.
    static TCString Translate(const char* text);

    void Invalidate();
    // Whether a translation is stored (none before the first Translate or after Invalidate).
    bool IsValid() const;
    // Takes over the other object's source text and translation.
    void Copy(const TCTranslatedString& other);
    void OnLanguageChanged() override;

    TCString GetSource() const;
    // Direct access to the source text. Changes made through it are seen only by
    // hidden-change checking (TCTranslated::CheckHiddenChanges); prefer operator=.
    TCString& GetSourceBuffer() { return m_value.Source(); }

protected:
    // For derived classes that register themselves when they are complete.
    TCTranslatedString(const TCString& text, RegistrationTime when);
    // Computes the translation of source; called with m_lock held.
    virtual TCString TranslateSource(const TCString& source) const;

private:
    mutable TCTranslatedValue<TCString> m_value;
};
