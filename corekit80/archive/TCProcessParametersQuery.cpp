// TCProcessParameters: the parsed parameters and their lookup.
#include <cstring>

#include "corekit80/archive/TCProcessParametersImpl.h"

using Impl = TCProcessParameters::TCProcessParamsImpl;

namespace {

const TCString& EmptyText()
{
    static const TCString empty;
    return empty;
}

template <class Equal>
int Find(const Impl& m, const char* name, const char* section, Equal equal)
{
    for (int i = 0; i < int(m.params.size()); ++i) {
        const Impl::Param& p = m.params[size_t(i)];
        if (equal(p.name, name ? name : "") && (!section || equal(m.sections[size_t(p.section)].name, section)))
            return i;
    }
    return -1;
}

} // namespace

const TCString& TCProcessParameters::GetErrorText() const { return m_impl->errorText; }

bool TCProcessParameters::CheckConsistency() const
{
    const TCString& text = m_impl->text;
    auto lies = [&](const TCString& s, int start, int end) {
        return start >= 0 && end - start + 1 == s.GetLength() && end < text.GetLength() &&
               std::memcmp(static_cast<const char*>(text) + start, s, size_t(s.GetLength())) == 0;
    };
    int last = -1;
    for (const Impl::Param& p : m_impl->params) {
        if (p.nameStart <= last || !lies(p.name, p.nameStart, p.nameEnd) ||
            (p.HasValue() && (p.valueStart <= p.nameEnd || p.valueEnd >= text.GetLength())))
            return false;
        last = p.End();
    }
    for (size_t s = 1; s < m_impl->sections.size(); ++s) {
        const Impl::Section& section = m_impl->sections[s];
        if (!lies(section.name, section.start, section.end) || text[section.start - 1] != '[' ||
            text[section.end + 1] != ']')
            return false;
    }
    return true;
}

int TCProcessParameters::GetParamCount() const { return int(m_impl->params.size()); }

const TCString& TCProcessParameters::GetParamName(int i) const
{
    return m_impl->ValidIndex(i) ? m_impl->params[size_t(i)].name : EmptyText();
}

const TCString& TCProcessParameters::GetParamSection(int i) const
{
    return m_impl->ValidIndex(i) ? m_impl->sections[size_t(m_impl->params[size_t(i)].section)].name : EmptyText();
}

const TCString& TCProcessParameters::GetParamValStr(int i) const
{
    return m_impl->ValidIndex(i) ? m_impl->params[size_t(i)].value : EmptyText();
}

TCProcessParameters::ParamValType TCProcessParameters::GetParamValType(int i) const
{
    return m_impl->ValidIndex(i) ? m_impl->params[size_t(i)].type : ParamValType(-1);
}

int TCProcessParameters::GetParamValInt(int i) const
{
    return m_impl->ValidIndex(i) ? m_impl->params[size_t(i)].intValue : 0;
}

double TCProcessParameters::GetParamValDbl(int i) const
{
    return m_impl->ValidIndex(i) ? m_impl->params[size_t(i)].dblValue : 0.0;
}

int TCProcessParameters::FindParameter(const char* name, const char* section) const
{
    return Find(*m_impl, name, section, [](const TCString& a, const char* b) { return a.Compare(b) == 0; });
}

int TCProcessParameters::FindParameterNoCase(const char* name, const char* section) const
{
    return Find(*m_impl, name, section, [](const TCString& a, const char* b) { return a.CompareNoCase(b) == 0; });
}
