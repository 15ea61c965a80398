// TCProcessParameters: construction, copies and the syntax lists.
#include "corekit80/archive/TCProcessParameters.h"

#include <utility>

#include "corekit80/archive/TCProcessParametersImpl.h"

using Impl = TCProcessParameters::TCProcessParamsImpl;

void Impl::Reset()
{
    unquote = true;
    decimalComma = false;
    prefixes.clear();
    delimiters.clear();
    splitStrings.clear();
    commentStarts.clear();
    params.clear();
    sections.clear();
    firstSection.clear();
    AddSection(Section());
    currentSection = 0;
    text.Empty();
    errorText.Empty();
}

void Impl::Add(List& list, const char* entry)
{
    if (entry && *entry)
        list.emplace_back(entry);
}

TCProcessParameters::TCProcessParameters() : m_impl(new Impl)
{
    Init(false, false, nullptr, nullptr, "=", "#;");
    AddParamDelimiter("\r\n");
}

TCProcessParameters::TCProcessParameters(bool unquote, bool decimalComma, const char* prefixes,
                                         const char* delimiters, const char* splitStrings,
                                         const char* commentStarts)
    : m_impl(new Impl)
{
    Init(unquote, decimalComma, prefixes, delimiters, splitStrings, commentStarts);
}

TCProcessParameters::TCProcessParameters(const TCProcessParameters& other) : m_impl(new Impl(*other.m_impl)) {}

TCProcessParameters::TCProcessParameters(TCProcessParameters&& other) : m_impl(new Impl)
{
    std::swap(m_impl, other.m_impl);
}

TCProcessParameters& TCProcessParameters::operator=(const TCProcessParameters& other)
{
    if (this != &other)
        *m_impl = *other.m_impl;
    return *this;
}

TCProcessParameters& TCProcessParameters::operator=(TCProcessParameters&& other) noexcept
{
    std::swap(m_impl, other.m_impl);
    return *this;
}

TCProcessParameters::~TCProcessParameters() { delete m_impl; }

void TCProcessParameters::Init(bool unquote, bool decimalComma, const char* prefixes, const char* delimiters,
                               const char* splitStrings, const char* commentStarts)
{
    m_impl->Reset();
    m_impl->unquote = unquote;
    m_impl->decimalComma = decimalComma;
    auto addEach = [](Impl::List& list, const char* chars) {
        for (; chars && *chars; ++chars)
            list.emplace_back(chars, 1);
    };
    addEach(m_impl->prefixes, prefixes);
    addEach(m_impl->delimiters, delimiters);
    addEach(m_impl->splitStrings, splitStrings);
    addEach(m_impl->commentStarts, commentStarts);
}

void TCProcessParameters::AddParamPrefix(const char* prefix) { Impl::Add(m_impl->prefixes, prefix); }
void TCProcessParameters::AddParamDelimiter(const char* delimiter) { Impl::Add(m_impl->delimiters, delimiter); }
void TCProcessParameters::AddParamSplitStr(const char* splitString) { Impl::Add(m_impl->splitStrings, splitString); }
void TCProcessParameters::AddCommentStart(const char* commentStart) { Impl::Add(m_impl->commentStarts, commentStart); }
void TCProcessParameters::UnQuote(bool unquote) { m_impl->unquote = unquote; }
void TCProcessParameters::DecimalComma(bool decimalComma) { m_impl->decimalComma = decimalComma; }
void TCProcessParameters::Reset() { m_impl->Reset(); }
