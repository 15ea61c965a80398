// One entry of the port helper's table of data types.
#include <algorithm>
#include <climits>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/porttypes/TCPortDataTypeImpl.h"

namespace {
// Appends base{declarator} as the text the host is shown splits it, so that the tokens held
// are always those the text gives back (and that a stored port type loads back as): a brace
// in a declaration, or a declarator that begins with a blank, would otherwise be held
// otherwise than shown.
void AppendToken(TCValidateActualPortType& validation, const char* base, const char* declarator)
{
    CString text(validation.GetInternalPortType());
    if (!text.IsEmpty())
        text += ' ';
    text += base;
    text += '{';
    text += declarator;
    text += '}';
    validation.FillValidation(validation.GetNoOfInternalPortToken() + 1, text);
}
}  // namespace

TCPortDataType::TCPortDataType() : m_type(DT_NONE), m_lines(0), m_validation(new TCValidateActualPortType) {}

TCPortDataType::TCPortDataType(const TCPortDataType& other) : TCPortDataType() { *this = other; }

TCPortDataType& TCPortDataType::operator=(const TCPortDataType& other)
{
    if (this != &other) {
        m_type = other.m_type;
        // Refilled from the text, so the copy's tokens are its own.
        const CString text(other.m_validation->GetInternalPortType());
        m_validation->FillValidation(other.m_validation->GetNoOfInternalPortToken(), text);
    }
    return *this;
}

TCPortDataType::~TCPortDataType() { delete m_validation; }

const char* TCPortDataType::DefaultDeclarator(const char* base) const
{
    if (m_type & DT_DOUBLE_FAMILY)
        return "TIME_DOMAIN";
    if (m_type & DT_SWORD_FAMILY)
        return "BIN";
    if (m_type & DT_STRING_FAMILY)
        return "Text";
    if (base && CString::CompareText(base, "STRUCT_BUS") == 0)
        return "BUS";
    return "";
}

bool TCPortDataType::ParseType(const char* text, int tokenCount)
{
    if (!text || !*text || tokenCount < 1)
        return false;
    m_validation->FillValidation(tokenCount, text);
    // An undefined port keeps that mark: it stays open to the next line until its lines are gone.
    m_type = (m_type & (DT_MULTITYPE | DT_UNDEFINED)) | FindType(text, tokenCount, nullptr);
    return true;
}

void TCPortDataType::ParseType(const char* base, const char* declarator, bool withTypeInfo)
{
    m_validation->ClearAll();
    if (!base)
        base = "";
    const bool noDeclarator = !declarator || !*declarator;
    const TCString text = TCString::FormatS("%s%s{%s}", withTypeInfo ? "TYPEINFO{TypeInfo} " : "", base,
                                            noDeclarator ? "" : declarator);
    bool single = true;
    m_type = FindType(text, withTypeInfo ? 2 : 1, &single);
    if (m_type & DT_UNDEFINED)
        return;
    if (withTypeInfo)
        m_validation->InsertPortToken("TYPEINFO", "TypeInfo");
    if (single)
        AppendToken(*m_validation, base, noDeclarator ? DefaultDeclarator(base) : declarator);
}

void TCPortDataType::GenType(unsigned long code)
{
    m_type = uint32_t(code);
    int n = 0;
    const TCString text = GetTypeStr(code, nullptr, &n);
    m_validation->FillValidation(n, text);
}

bool TCPortDataType::ValidatePortType(const char* text, int tokenCount, const char* moduleName)
{
    if (((m_type & DT_UNDEFINED) && m_lines == 0) ||
        ((m_type & DT_MULTITYPE) && m_validation->GetNoOfInternalPortToken() == 0))
        return ParseType(text, tokenCount);
    m_validation->ParsingPortType(text, tokenCount);
    return m_validation->ValidateTokenSet(moduleName, false) && m_validation->ValidateDeclaratorSet(moduleName);
}

void TCPortDataType::AddMultitype(const char* base, const char* declarator)
{
    if (!(m_type & DT_MULTITYPE))
        return;
    if (!base)
        base = "";
    AppendToken(*m_validation, base, declarator && *declarator ? declarator : DefaultDeclarator(base));
}

const char* TCPortDataType::GetPortType(int* tokenCount) const
{
    int n = m_validation->GetNoOfInternalPortToken();
    const char* text = m_validation->GetInternalPortType();
    if ((m_type & DT_UNDEFINED) && m_lines == 0) {
        n = 0;
        text = nullptr;
    } else if ((m_type & DT_MULTITYPE) && n == 0) {
        n = 1;
        text = "NULL{no_parameters}";
    }
    if (tokenCount)
        *tokenCount = n;
    return text;
}

bool TCPortDataType::DoesDataTypeMatch(unsigned long mask, CHECK_DT mode) const
{
    switch (mode) {
    case CHECK_ANY_BIT:
        return mask == 0 || (m_type & mask) != 0;
    case CHECK_ALL_BITS:
        return (m_type & mask) == mask;
    case CHECK_EQUAL:
        return m_type == mask;
    }
    return false;
}

void TCPortDataType::AddLine(int n) { m_lines = int32_t(std::clamp<long long>(0LL + m_lines + n, 0, INT_MAX)); }

void TCPortDataType::DelLine()
{
    if (m_lines > 0)
        --m_lines;
}

void TCPortDataType::Serialize(ArchiveParser* archive)
{
    if (!archive)
        return;
    int code = int(m_type);
    int tokens = m_validation->GetNoOfInternalPortToken();
    CString text(m_validation->GetInternalPortType());
    archive->Serialize(1, "Data type enum", code);
    archive->Serialize(2, "Port token", tokens);
    archive->Serialize(3, "Port type", text);
    if (archive->IsLoading()) {
        m_type = uint32_t(code);
        m_validation->FillValidation(tokens, text);
    }
}
