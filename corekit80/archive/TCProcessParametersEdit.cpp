// TCProcessParameters: edits of the text, with the recorded positions kept in step.
#include <algorithm>

#include "corekit80/archive/TCProcessParametersImpl.h"

using Impl = TCProcessParameters::TCProcessParamsImpl;

namespace {

// Parameters and sections are both in text order, so a section's parameters are one run.
std::pair<size_t, size_t> SectionRun(const std::vector<Impl::Param>& params, int s)
{
    auto below = [](const Impl::Param& p, int v) { return p.section < v; };
    auto above = [](int v, const Impl::Param& p) { return v < p.section; };
    return {size_t(std::lower_bound(params.begin(), params.end(), s, below) - params.begin()),
            size_t(std::upper_bound(params.begin(), params.end(), s, above) - params.begin())};
}

} // namespace

void Impl::Shift(int from, int delta, size_t firstParam)
{
    for (auto p = params.begin() + std::ptrdiff_t(firstParam); p != params.end(); ++p) {
        p->nameStart += delta;
        p->nameEnd += delta;
        if (p->HasValue()) {
            p->valueStart += delta;
            p->valueEnd += delta;
        }
    }
    auto s = std::lower_bound(sections.begin() + 1, sections.end(), from,
                              [](const Section& section, int v) { return section.start - 1 < v; });
    for (; s != sections.end(); ++s) {
        s->start += delta;
        s->end += delta;
    }
}

void Impl::InsertText(int pos, const TCString& piece, size_t firstParam)
{
    // Room grows by half again, so that a text built by appending is not copied each time.
    text.AllocAddBuffer(piece.GetLength(), 0.5);
    text.Insert(pos, piece);
    Shift(pos, piece.GetLength(), firstParam);
}

void Impl::RemoveText(int pos, int n, size_t firstParam)
{
    text.Delete(pos, n);
    Shift(pos + n, -n, firstParam);
}

void Impl::ClearValue(int i)
{
    Param& p = params[size_t(i)];
    if (p.HasValue())
        RemoveText(p.nameEnd + 1, p.valueEnd - p.nameEnd, size_t(i) + 1);
    p.valueStart = p.valueEnd = -1;
    p.value.Empty();
    p.type = PVT_NONE;
    p.intValue = 0;
    p.dblValue = 0.0;
}

void Impl::SetValue(int i, const TCString& valueText)
{
    ClearValue(i);
    Param& p = params[size_t(i)];
    const TCString split = First(splitStrings);
    InsertText(p.nameEnd + 1, split + valueText, size_t(i) + 1);
    p.valueStart = p.nameEnd + 1 + split.GetLength();
    p.valueEnd = p.valueStart + valueText.GetLength() - 1;
    // A malformed escape leaves its best decoding: the edit itself has been made.
    Evaluate(p);
}

int Impl::InsertionPoint(int s, size_t first, size_t last, bool& delimiterFirst) const
{
    delimiterFirst = false;
    if (s == int(sections.size()) - 1) {
        delimiterFirst = !text.IsEmpty() && !EndsWithDelimiter();
        return text.GetLength();
    }
    if (last > first) {
        const int end = params[last - 1].End() + 1;
        const int d = MatchAt(delimiters, end);
        delimiterFirst = d == 0;
        return end + d;
    }
    if (s == 0)
        return 0;
    const int end = sections[size_t(s)].end + 2;
    return end + MatchAt(delimiters, end);
}

int Impl::Insert(const char* name, const char* section, bool allowDuplicate)
{
    name = name ? name : "";
    section = section ? section : "";
    const TCString delimiter = First(delimiters);
    const auto found = firstSection.find(section);
    int s = found == firstSection.end() ? -1 : found->second;
    if (s < 0) {
        TCString header = text.IsEmpty() ? TCString() : delimiter;
        Section added;
        added.start = text.GetLength() + header.GetLength() + 1;
        header += '[';
        header += section;
        header += ']';
        added.end = text.GetLength() + header.GetLength() - 2;
        added.name = section;
        header += delimiter;
        InsertText(text.GetLength(), header, params.size());
        AddSection(std::move(added));
        s = currentSection;
    }
    const auto [first, last] = SectionRun(params, s);
    if (!allowDuplicate)
        for (size_t j = first; j < last; ++j)
            if (params[j].name.Compare(name) == 0)
                return int(j);
    bool delimiterFirst = false;
    const int pos = InsertionPoint(s, first, last, delimiterFirst);
    TCString piece = delimiterFirst ? delimiter : TCString();
    Param p;
    p.section = s;
    p.nameStart = pos + piece.GetLength();
    p.name = name;
    p.nameEnd = p.nameStart + p.name.GetLength() - 1;
    piece += p.name;
    piece += delimiter;
    InsertText(pos, piece, last);
    params.insert(params.begin() + std::ptrdiff_t(last), std::move(p));
    return int(last);
}

void Impl::Delete(int i)
{
    const Param& p = params[size_t(i)];
    const int start = p.nameStart;
    const int end = p.End() + 1;
    const int n = end + MatchAt(delimiters, end) - start;
    params.erase(params.begin() + i);
    RemoveText(start, n, size_t(i));
}

bool Impl::DeleteSection(const char* section)
{
    auto named = std::find_if(sections.begin() + 1, sections.end(),
                              [&](const Section& x) { return x.name.Compare(section ? section : "") == 0; });
    if (named == sections.end())
        return false;
    const int s = int(named - sections.begin());
    const auto [first, last] = SectionRun(params, s);
    for (size_t j = last; j > first; --j)
        Delete(int(j - 1));
    const int open = named->start - 1;
    const int close = named->end + 1;
    const int n = close + 1 + MatchAt(delimiters, close + 1) - open;
    sections.erase(named);
    RemoveText(open, n, first);
    for (size_t j = first; j < params.size(); ++j)
        --params[j].section;
    std::vector<Section> kept = std::move(sections);
    sections.clear();
    firstSection.clear();
    for (Section& x : kept)
        AddSection(std::move(x));
    return true;
}

bool TCProcessParameters::ClearParamVal(int i)
{
    if (!m_impl->ValidIndex(i))
        return false;
    m_impl->ClearValue(i);
    return true;
}

int TCProcessParameters::InsertParameter(const char* name, const char* section, bool allowDuplicate)
{
    return m_impl->Insert(name, section, allowDuplicate);
}

bool TCProcessParameters::DeleteParameter(int i)
{
    if (!m_impl->ValidIndex(i))
        return false;
    m_impl->Delete(i);
    return true;
}

bool TCProcessParameters::DeleteSection(const char* section) { return m_impl->DeleteSection(section); }
