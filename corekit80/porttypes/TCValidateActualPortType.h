#pragma once

// TCValidateActualPortType, the check of a port's type text against a line's, and LaunchHelp.

#include <cstdint>

#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Compares a port's own type text (the internal side) with the type text offered by the
// other end of a line (the actual side). Both are split into tokens, each a name followed
// by a declarator in braces: "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}". Differing
// tokens are errors; differing declarators are questions that the host answers. Problems
// and questions reach the host's main window as message 40009 with wParam 2.
//
// A token or declarator whose closing brace is missing runs to the end of the text. A
// token count larger than the text's length plus one is taken as that: beyond the text
// every further token would be empty.
class TC_EXPORT TCValidateActualPortType {
public:
    // The record handed to the host (lParam of 40009/2). The host writes the answer.
    struct VALIDATION_STRUCT {
        const char* moduleName;
        const char* internalType;
        const char* actualType;
        int32_t code;
        int32_t answer;
    };
    // Message codes of the record.
    enum {
        MSG_DECLARATOR_DIFFERS = 101,  // a question: a non-zero answer accepts
        MSG_TOKEN_DIFFERS = 102,       // an error
        MSG_NO_TOKEN = 104,            // an error: neither side has a token
    };
    // The window message and its requests.
    enum { HOST_MESSAGE = 40009, REQUEST_VALIDATION = 2, REQUEST_HELP = 3 };

    TCValidateActualPortType();

    // Whether the tokens of both sides fit; silent sends nothing to the host.
    virtual bool ValidateTokenSet(const char* moduleName, bool silent);
    // Whether the declarators of both sides fit, asking the host where they differ.
    virtual bool ValidateDeclaratorSet(const char* moduleName);
    // Takes the token, up to the next "{", off the front of text.
    virtual CString ExtractToken(CString* text);
    // Takes the declarator, up to the next "}", off the front of text.
    virtual CString ExtractDeclarator(CString* text);
    virtual ~TCValidateActualPortType();

    // The internal side: count tokens of typeText.
    void FillValidation(int tokenCount, const char* typeText);
    void InsertPortToken(const char* token, const char* declarator);
    // The actual side: count tokens of typeText.
    void ParsingPortType(const char* typeText, int tokenCount);

    bool GetInternalToken(int i, CString& token, CString& declarator) const;
    const char* GetInternalPortType() const { return m_internalType; }
    int GetNoOfInternalPortToken() const { return m_internalCount; }
    int GetNoOfActualPortToken() const { return m_actualCount; }
    void ClearNoOfOwnPortToken() { m_internalCount = 0; }
    void ClearAll();

protected:
    void InsertToken(const char* token);
    void InsertDeclarator(const char* declarator);

    static void PutErrorMessage(const char* moduleName, int code, const char* a, const char* b);
    static void ShowMessage(VALIDATION_STRUCT& record);

private:
    void ClearActual();

    int32_t m_actualCount;
    int32_t m_internalCount;
    CString m_internalType;
    CStringArray m_internalTokens;
    CStringArray m_actualTokens;
    CStringArray m_internalDeclarators;
    CStringArray m_actualDeclarators;
};

// Protects blanks inside declarators: every backslash is doubled, then every blank gets
// a backslash in front. UnQuote undoes it. The whole content is handled, zero bytes too.
TC_EXPORT void TCValidationQuote(TCString& text);
TC_EXPORT void TCValidationQuote(CString& text);
TC_EXPORT void TCValidationUnQuote(TCString& text);
TC_EXPORT void TCValidationUnQuote(CString& text);

// Asks the host (40009 with wParam 3) to show help. A topic that is not empty and does
// not begin with "#" is the target itself; otherwise the target is the calling module
// library's file with its extension replaced by ".htm", followed by the topic.
TC_EXPORT void LaunchHelp(const char* topic);
