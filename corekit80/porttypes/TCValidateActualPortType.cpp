// TCValidateActualPortType: token and declarator checks, quoting, and help targets.
#include "corekit80/porttypes/TCValidateActualPortType.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/platform/TCModuleFileImpl.h"
#include "corekit80/porttypes/TCValidateActualPortTypeImpl.h"

namespace {

// Beyond the end of the text every further token is empty; a count past one such token
// per character (plus one) only repeats empty tokens, so it is cut there.
int BoundedTokenCount(int count, const CString& text)
{
    return std::clamp(count, 0, text.GetLength() + 1);
}

// Takes the part before the first stop character off the front of text, and the stop
// character with it; blanks that follow are dropped too. Without a stop character the
// whole text is the part.
CString TakeUntil(CString* text, char stop)
{
    if (!text)
        return CString();
    const int at = text->Find(stop);
    CString part;
    if (at < 0) {
        part = *text;
        text->Empty();
    } else {
        part = text->Left(at);
        *text = text->Mid(at + 1);
        text->TrimLeft();
    }
    return part;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number at text[i]: its digits without leading zeros, and i past it.
const char* ReadNumber(const char* text, int& i, int& length)
{
    while (text[i] == '0' && IsDigit(text[i + 1]))
        ++i;
    const int first = i;
    while (IsDigit(text[i]))
        ++i;
    length = i - first;
    return text + first;
}

// Token names match when equal outside brackets; inside, "[]" matches any number and two
// numbers must be equal.
bool TokensMatch(const char* a, const char* b)
{
    int i = 0, j = 0;
    while (a[i] && b[j]) {
        if (a[i] != '[' || b[j] != '[') {
            if (a[i] != b[j])
                return false;
            ++i, ++j;
            continue;
        }
        ++i, ++j;
        int na = 0, nb = 0;
        const char* numberA = ReadNumber(a, i, na);
        const char* numberB = ReadNumber(b, j, nb);
        if (a[i] != ']' || b[j] != ']')
            return false;
        if (na > 0 && nb > 0 && (na != nb || std::memcmp(numberA, numberB, size_t(na)) != 0))
            return false;
        ++i, ++j;
    }
    return !a[i] && !b[j];
}

CString Braced(const CString& token, const CString& declarator)
{
    CString text;
    text.Format("%s{%s}", token.GetString(), declarator.GetString());
    return text;
}

// Both string classes replace over their whole content, so zero bytes pass unharmed.
template <class Text> void Quote(Text& text)
{
    text.Replace("\\", "\\\\");
    text.Replace(" ", "\\ ");
}

template <class Text> void UnQuote(Text& text)
{
    text.Replace("\\ ", " ");
    text.Replace("\\\\", "\\");
}

// The longest module file name that is looked at.
constexpr int kMaxModuleFile = 1024;

// Where the library extension of the file name begins: ".so" ending the name or followed
// by a version, or ".dll" in any case; the length when there is none.
int ExtensionStart(const TCString& file)
{
    const char* name = file;
    const int length = int(std::strlen(name));
    const char* slash = std::strrchr(name, '/');
    const int first = slash ? int(slash - name) + 1 : 0;
    if (length - first >= 4 && strcasecmp(name + length - 4, ".dll") == 0)
        return length - 4;
    for (int i = first; i + 3 <= length; ++i)
        if (std::strncmp(name + i, ".so", 3) == 0 && (name[i + 3] == 0 || name[i + 3] == '.'))
            return i;
    return length;
}

}  // namespace

TCValidateActualPortType::TCValidateActualPortType() : m_actualCount(0), m_internalCount(0) {}

TCValidateActualPortType::~TCValidateActualPortType() = default;

CString TCValidateActualPortType::ExtractToken(CString* text) { return TakeUntil(text, '{'); }

CString TCValidateActualPortType::ExtractDeclarator(CString* text) { return TakeUntil(text, '}'); }

void TCValidateActualPortType::ClearAll()
{
    m_internalType.Empty();
    m_internalCount = 0;
    m_internalTokens.RemoveAll();
    m_internalDeclarators.RemoveAll();
    ClearActual();
}

void TCValidateActualPortType::ClearActual()
{
    m_actualCount = 0;
    m_actualTokens.RemoveAll();
    m_actualDeclarators.RemoveAll();
}

void TCValidateActualPortType::FillValidation(int tokenCount, const char* typeText)
{
    CString text(typeText);
    text.Trim();
    ClearAll();
    for (int n = BoundedTokenCount(tokenCount, text); n > 0; --n) {
        const CString token = ExtractToken(&text);
        const CString declarator = ExtractDeclarator(&text);
        InsertPortToken(token, declarator);
    }
}

void TCValidateActualPortType::InsertPortToken(const char* token, const char* declarator)
{
    if (!m_internalType.IsEmpty())
        m_internalType += ' ';
    m_internalType += token;
    m_internalType += '{';
    m_internalType += declarator;
    m_internalType += '}';
    m_internalTokens.Add(CString(token));
    m_internalDeclarators.Add(CString(declarator));
    ++m_internalCount;
}

void TCValidateActualPortType::ParsingPortType(const char* typeText, int tokenCount)
{
    // Trimmed like the own side, so that blanks around an offered text do not count.
    CString text(typeText);
    text.Trim();
    ClearActual();
    for (int n = BoundedTokenCount(tokenCount, text); n > 0; --n) {
        const CString token = ExtractToken(&text);
        InsertToken(token);
        InsertDeclarator(ExtractDeclarator(&text));
        ++m_actualCount;
    }
}

void TCValidateActualPortType::InsertToken(const char* token) { m_actualTokens.Add(CString(token)); }

void TCValidateActualPortType::InsertDeclarator(const char* declarator)
{
    m_actualDeclarators.Add(CString(declarator));
}

bool TCValidateActualPortType::GetInternalToken(int i, CString& token, CString& declarator) const
{
    if (i < 0 || i >= m_internalCount)
        return false;
    token = m_internalTokens[i];
    declarator = m_internalDeclarators[i];
    return true;
}

bool TCValidateActualPortType::ValidateTokenSet(const char* moduleName, bool silent)
{
    if (m_internalCount == 0 && m_actualCount == 0) {
        if (!silent)
            PutErrorMessage(moduleName, MSG_NO_TOKEN, "", "");
        return false;
    }
    bool ok = true;
    const int n = std::min(m_internalCount, m_actualCount);
    for (int i = 0; i < n; ++i) {
        const CString& own = m_internalTokens[i];
        const CString& offered = m_actualTokens[i];
        if (own != offered) {
            if (TokensMatch(own, offered))
                continue;
            ok = false;
            if (!silent)
                PutErrorMessage(moduleName, MSG_TOKEN_DIFFERS, own, offered);
        } else if (own.Find("POINTER") >= 0 && m_internalDeclarators[i] != m_actualDeclarators[i]) {
            // Pointers say by their declarator what they point to.
            ok = false;
            if (!silent)
                PutErrorMessage(moduleName, MSG_TOKEN_DIFFERS, Braced(own, m_internalDeclarators[i]),
                                Braced(offered, m_actualDeclarators[i]));
        }
    }
    return ok;
}

bool TCValidateActualPortType::ValidateDeclaratorSet(const char* moduleName)
{
    const int n = std::min(m_internalCount, m_actualCount);
    for (int i = 0; i < n; ++i) {
        if (m_internalDeclarators[i] == m_actualDeclarators[i])
            continue;
        VALIDATION_STRUCT record{moduleName ? moduleName : "", m_internalDeclarators[i],
                                 m_actualDeclarators[i], MSG_DECLARATOR_DIFFERS, 0};
        ShowMessage(record);
        // A refusal decides; a negative answer accepts this difference but ends the asking.
        if (record.answer == 0)
            return false;
        if (record.answer < 0)
            break;
    }
    return true;
}

void TCValidateActualPortType::PutErrorMessage(const char* moduleName, int code, const char* a, const char* b)
{
    VALIDATION_STRUCT record{moduleName ? moduleName : "", a ? a : "", b ? b : "", code, 0};
    ShowMessage(record);
}

void TCValidateActualPortType::ShowMessage(VALIDATION_STRUCT& record)
{
    if (TCHostWindow* host = TCGetHostWindow())
        host->Send(HOST_MESSAGE, REQUEST_VALIDATION, reinterpret_cast<long>(&record));
    else if (record.code == MSG_DECLARATOR_DIFFERS)
        record.answer = 1;
}

void TCValidationQuote(TCString& text) { Quote(text); }
void TCValidationQuote(CString& text) { Quote(text); }
void TCValidationUnQuote(TCString& text) { UnQuote(text); }
void TCValidationUnQuote(CString& text) { UnQuote(text); }

TCString TCHelpTarget(const char* topic, const char* moduleFile)
{
    if (!topic)
        topic = "";
    if (*topic && *topic != '#')
        return TCString(topic);
    const TCString file = TCString(moduleFile).Left(kMaxModuleFile);
    return file.Left(ExtensionStart(file)) + ".htm" + topic;
}

// Not inlined: the return address must be the caller's, inside its module library.
__attribute__((noinline)) void LaunchHelp(const char* topic)
{
    const TCString module = TCModuleFileOfAddress(__builtin_return_address(0));
    const TCString target = TCHelpTarget(topic, module);
    if (TCHostWindow* host = TCGetHostWindow())
        host->Send(TCValidateActualPortType::HOST_MESSAGE, TCValidateActualPortType::REQUEST_HELP,
                   reinterpret_cast<long>(static_cast<const char*>(target)));
}
