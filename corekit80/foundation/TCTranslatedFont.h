#pragma once

// TCTranslatedFont, a user-interface font translated on use.

#include "corekit80/foundation/TCLogFont.h"
#include "corekit80/foundation/TCTranslated.h"
#include "corekit80/foundation/TCTranslatedValue.h"
#include "corekit80/types/TCExport.h"

// A user-interface font that is translated on first use and whenever it is used again
// after a change of its font or of the language (a language may need another face).
class TC_EXPORT TCTranslatedFont : public TCTranslated {
public:
    TCTranslatedFont();
    TCTranslatedFont(const TCLogFont& font);
    TCTranslatedFont(const TCTranslatedFont& other);
    ~TCTranslatedFont() override;

    // Set the source font and drop the translation.
    TCTranslatedFont& operator=(const TCLogFont& font);
    TCTranslatedFont& operator=(const TCTranslatedFont& other);

    // The translation of the source font, computed when there is no valid one.
    TCLogFont Translate() const;
    // The same, stored into result; returns result.
    TCLogFont& Translate(TCLogFont& result) const;

    void Invalidate();
    // Whether a translation is stored (none before the first Translate or after Invalidate).
    bool IsValid() const;
    // Takes over the other object's source font and translation.
    void Copy(const TCTranslatedFont& other);
    void OnLanguageChanged() override;

    TCLogFont GetSource() const;
    // Direct access to the source font. Changes made through it are seen only by
    // hidden-change checking (TCTranslated::CheckHiddenChanges); prefer operator=.
    TCLogFont& GetSourceBuffer() { return m_value.Source(); }

private:
    mutable TCTranslatedValue<TCLogFont> m_value;
};
