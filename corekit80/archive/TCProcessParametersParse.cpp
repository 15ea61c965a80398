// Parameter texts read into parameters and sections, and values typed.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "corekit80/archive/TCProcessParametersImpl.h"
#include "corekit80/foundation/TCTextUtil.h"
#include "corekit80/types/TCCLocaleImpl.h"

using Impl = TCProcessParameters::TCProcessParamsImpl;

namespace {

// The bytes that start an entry of some lists: the scans test only those positions.
struct FirstBytes {
    bool set[256] = {};
    void Add(const Impl::List& list)
    {
        for (const TCString& entry : list)
            set[uint8_t(entry[0])] = true;
    }
    bool operator[](char c) const { return set[uint8_t(c)]; }
};

bool IsQuote(char c) { return c == '"' || c == '\''; }

} // namespace

int Impl::MatchAt(const List& list, int p) const
{
    const int n = text.GetLength();
    if (p < 0 || p >= n)
        return 0;
    const char* at = static_cast<const char*>(text) + p;
    for (const TCString& entry : list) {
        const int length = entry.GetLength();
        if (length <= n - p && entry[0] == *at && std::memcmp(at, entry, size_t(length)) == 0)
            return length;
    }
    return 0;
}

void Impl::AddSection(Section s)
{
    currentSection = int(sections.size());
    firstSection.emplace(std::string(s.name, size_t(s.name.GetLength())), currentSection);
    sections.push_back(std::move(s));
}

bool Impl::EndsWithDelimiter() const
{
    const int n = text.GetLength();
    for (const TCString& d : delimiters) {
        const int length = d.GetLength();
        if (length <= n && std::memcmp(static_cast<const char*>(text) + n - length, d, size_t(length)) == 0)
            return true;
    }
    return false;
}

bool Impl::Evaluate(Param& p) const
{
    const char* raw = static_cast<const char*>(text) + p.valueStart;
    const int length = p.valueEnd - p.valueStart + 1;
    p.intValue = 0;
    p.dblValue = 0.0;
    if (length > 0 && IsQuote(raw[0])) {
        // Numbers are not read through a quote, so a quoted value is a string reading 0.
        p.type = PVT_STRING;
        p.value = TCString(raw + 1, length - 2);
    } else {
        p.value = TCString(raw, length);
        const char* v = p.value;
        char* intEnd = nullptr;
        char* dblEnd = nullptr;
        const long i = strtol_l(v, &intEnd, 10, TCCLocale());
        p.intValue = int(std::clamp<long>(i, INT_MIN, INT_MAX));
        p.dblValue = strtod_l(v, &dblEnd, TCCLocale());
        // An empty value, which only SetParamValStr writes, is an empty string.
        p.type = length == 0                 ? PVT_STRING
                 : intEnd == v + length      ? PVT_INTEGER
                 : dblEnd == v + length      ? PVT_DOUBLE
                                             : PVT_STRING;
    }
    if (!unquote || !std::memchr(p.value, '\\', size_t(p.value.GetLength())))
        return true;
    TCString decoded;
    const bool ok = UnQuoteEscapeChar(decoded, p.value);
    p.value = std::move(decoded);
    return ok;
}

namespace {

// One pass over the text; positions are bounded by its length, so nothing is read past it.
// Error texts are joined, not formatted, so that they take no more room than they need.
class Parser {
public:
    explicit Parser(Impl& impl) : m(impl), t(impl.text), n(impl.text.GetLength())
    {
        nameStops.Add(m.splitStrings);
        nameStops.Add(m.delimiters);
        delimiterStarts.Add(m.delimiters);
    }

    int Run()
    {
        int pos = 0;
        while (pos < n) {
            if (const int d = m.MatchAt(m.delimiters, pos)) {
                pos += d;
            } else if (m.MatchAt(m.commentStarts, pos)) {
                pos += int(std::strcspn(t + pos, "\r\n"));
            } else if (t[pos] == '[') {
                if (!Header(pos))
                    return -1;
            } else if (!Parameter(pos)) {
                return -1;
            }
        }
        return int(m.params.size());
    }

private:
    bool Header(int& pos)
    {
        int close = pos + 1;
        while (close < n && t[close] != ']' && t[close] != '\r' && t[close] != '\n')
            ++close;
        if (close == n || t[close] != ']') {
            m.errorText = "Section end character is missing at section " + TCString(t + pos, close - pos) + "...";
            return false;
        }
        Impl::Section s;
        s.start = pos + 1;
        s.end = close - 1;
        s.name = TCString(t + s.start, close - s.start);
        m.AddSection(std::move(s));
        pos = close + 1;
        return true;
    }

    bool Parameter(int& pos)
    {
        Impl::Param p;
        p.section = m.currentSection;
        p.nameStart = pos;
        if (!m.prefixes.empty()) {
            const int prefix = m.MatchAt(m.prefixes, pos);
            if (!prefix) {
                m.errorText = "Parameter prefix character is missing!";
                return false;
            }
            p.nameStart += prefix;
        }
        int q = p.nameStart;
        int split = 0;
        for (; q < n; ++q)
            if (nameStops[t[q]] && ((split = m.MatchAt(m.splitStrings, q)) || m.MatchAt(m.delimiters, q)))
                break;
        p.nameEnd = q - 1;
        p.name = TCString(t + p.nameStart, q - p.nameStart);
        pos = q;
        if (split) {
            if (!ValueEnd(p, q + split, pos)) {
                m.errorText += " at parameter " + p.name;
                return false;
            }
            if (!m.Evaluate(p)) {
                m.errorText = "Error at unquoting value of parameter " + p.name;
                return false;
            }
        }
        m.params.push_back(std::move(p));
        return true;
    }

    // Sets the value run starting at start and next to the position after its delimiter.
    bool ValueEnd(Impl::Param& p, int start, int& next)
    {
        if (start >= n || m.MatchAt(m.delimiters, start)) {
            m.errorText = "Value is missing";
            return false;
        }
        p.valueStart = start;
        if (IsQuote(t[start])) {
            int close = start;
            do {
                const void* found = std::memchr(t + close + 1, t[start], size_t(n - close - 1));
                if (!found) {
                    m.errorText = "Ending quotation mark is missing";
                    return false;
                }
                close = int(static_cast<const char*>(found) - t);
            } while (m.unquote && t[close - 1] == '\\');
            const int d = m.MatchAt(m.delimiters, close + 1);
            if (close + 1 < n && !d) {
                m.errorText = "Parameter delimiter is missing after ending quotation mark";
                return false;
            }
            p.valueEnd = close;
            next = close + 1 + d;
            return true;
        }
        // With prefixes, only a delimiter before the next prefix (or the end) ends a value.
        int q = start;
        int d = 0;
        for (; q < n; ++q)
            if (delimiterStarts[t[q]] && (d = m.MatchAt(m.delimiters, q)) &&
                (m.prefixes.empty() || q + d == n || m.MatchAt(m.prefixes, q + d)))
                break;
        p.valueEnd = q - 1;
        next = q < n ? q + d : n;
        return true;
    }

    Impl& m;
    const char* t;
    const int n;
    FirstBytes nameStops;
    FirstBytes delimiterStarts;
};

} // namespace

void Impl::StartOver()
{
    params.clear();
    // The unnamed first section stays, so that starting over needs no memory.
    sections.resize(1);
    sections[0] = Section();
    std::erase_if(firstSection, [](const auto& entry) { return entry.second != 0; });
    currentSection = 0;
    text.Empty();
}

int Impl::Parse(const char* source)
{
    StartOver();
    errorText.Empty();
    try {
        text = source;
        return Parser(*this).Run();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

int Impl::OutOfMemory()
{
    StartOver();
    try {
        errorText = "Out of memory";
    } catch (const std::bad_alloc&) {
        // No room even for the reason.
    }
    return -1;
}

int TCProcessParameters::ParseParamString(const char* text) { return m_impl->Parse(text); }

int TCProcessParameters::ParseParamString(int argc, const char** argv)
{
    TCString joined;
    try {
        const TCString delimiter = m_impl->First(m_impl->delimiters);
        for (int i = 0; argv && i < argc; ++i) {
            if (!argv[i])
                continue;
            if (!joined.IsEmpty())
                joined += delimiter;
            joined += argv[i];
        }
    } catch (const std::bad_alloc&) {
        return m_impl->OutOfMemory();
    }
    return m_impl->Parse(joined);
}
