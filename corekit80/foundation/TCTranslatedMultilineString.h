#pragma once

// TCTranslatedMultilineString, a text of several lines translated line by line.

#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/types/TCExport.h"

// A text of several lines ("\r\n" between them) translated line by line, so that the
// dictionaries need only know single lines; each translated line ends with "\r\n". In
// single-call mode the whole text is translated as one string instead.
class TC_EXPORT TCTranslatedMultilineString : public TCTranslatedString {
public:
    TCTranslatedMultilineString();
    TCTranslatedMultilineString(const char* text);
    TCTranslatedMultilineString(const TCString& text);
    TCTranslatedMultilineString(const TCTranslatedMultilineString& other);
    ~TCTranslatedMultilineString() override;

    TCTranslatedMultilineString& operator=(const char* text);
    TCTranslatedMultilineString& operator=(const TCString& text);
    TCTranslatedMultilineString& operator=(const TCTranslatedMultilineString& other);

    // Switches the mode and drops the translation.
    void SetTranslatedBySingleCall(bool singleCall);
    bool IsTranslatedBySingleCall() const;
    // Takes over the other object's text, translation and mode.
    void Copy(const TCTranslatedMultilineString& other);

protected:
    TCString TranslateSource(const TCString& source) const override;

private:
    bool m_singleCall;
};
