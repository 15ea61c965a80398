// g++ 12 reports std::function members inside the engine's compiler as maybe
// uninitialised once they are inlined here; they are not.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "corekit80/foundation/TCRegExp.h"

#include <climits>
#include <new>
#include <string>

#include "corekit80/foundation/TCRegExpImpl.h"
#include "corekit80/platform/TCBigStackThreadImpl.h"

namespace rc = std::regex_constants;

static_assert(TCRegExp::Icase == rc::icase && TCRegExp::NoSubs == rc::nosubs &&
              TCRegExp::Optimize == rc::optimize && TCRegExp::Collate == rc::collate &&
              TCRegExp::ECMAScript == rc::ECMAScript && TCRegExp::Basic == rc::basic &&
              TCRegExp::Extended == rc::extended && TCRegExp::Awk == rc::awk &&
              TCRegExp::Grep == rc::grep && TCRegExp::Egrep == rc::egrep &&
              TCRegExp::Multiline == rc::multiline);
static_assert(TCRegExp::MatchDefault == rc::match_default &&
              TCRegExp::MatchNotBol == rc::match_not_bol &&
              TCRegExp::MatchNotEol == rc::match_not_eol &&
              TCRegExp::MatchNotBow == rc::match_not_bow &&
              TCRegExp::MatchNotEow == rc::match_not_eow && TCRegExp::MatchAny == rc::match_any &&
              TCRegExp::MatchNotNull == rc::match_not_null &&
              TCRegExp::MatchContinuous == rc::match_continuous &&
              TCRegExp::MatchPrevAvail == rc::match_prev_avail &&
              TCRegExp::FormatDefault == rc::format_default &&
              TCRegExp::FormatSed == rc::format_sed && TCRegExp::FormatNoCopy == rc::format_no_copy &&
              TCRegExp::FormatFirstOnly == rc::format_first_only);

namespace {

// The engine's compiler and matcher recurse once per pattern element and once per
// character they pass, a few hundred bytes each. Work on longer inputs runs on a
// helper thread whose stack grows with the input; shorter work stays on the caller's.
constexpr size_t kCallerStackLimit = 2048;
constexpr size_t kStackBase = size_t(64) << 20;
constexpr size_t kStackPerByte = 4096;

// Runs work on the caller's stack or on a big one; false when no helper thread could
// be made. work must not throw.
template <class F>
bool RunWithStack(size_t inputBytes, F&& work)
{
    if (inputBytes <= kCallerStackLimit) {
        work();
        return true;
    }
    if (inputBytes > (SIZE_MAX - kStackBase) / kStackPerByte)
        return false;
    return TCBigStackThread::Run(kStackBase + inputBytes * kStackPerByte, work);
}

size_t Length(const TCString& s) { return static_cast<size_t>(s.GetLength()); }

TCString Text(const char* first, const char* last)
{
    return TCString(first, static_cast<int>(last - first));
}

} // namespace

void TCRegExpImpl::Compile(const TCString& pattern, unsigned long syntaxFlags)
{
    std::regex compiled;
    compiled.imbue(locale);
    long code = -1;
    const char* p = pattern;
    const bool ran = RunWithStack(Length(pattern), [&] {
        try {
            compiled.assign(p, Length(pattern), static_cast<rc::syntax_option_type>(syntaxFlags));
        } catch (const std::regex_error& e) {
            code = static_cast<long>(e.code());
        } catch (...) {
            code = static_cast<long>(rc::error_space);
        }
    });
    if (!ran)
        code = static_cast<long>(rc::error_space);
    if (code >= 0) {
        error = code;
        compiled = std::regex();
        compiled.imbue(locale);
    }
    expression.swap(compiled);
}

bool TCRegExpImpl::Attempt(const char* first, const char* last, std::cmatch& m,
                           rc::match_flag_type flags) const
{
    switch (findType) {
    case TCRegExp::FT_MATCH:
        return std::regex_match(first, last, m, expression, flags);
    case TCRegExp::FT_SEARCH:
        return std::regex_search(first, last, m, expression, flags);
    }
    return false;
}

void TCRegExpImpl::Store(const std::cmatch& m, const char* end)
{
    TCRegExp::MatchResult r;
    r.prefix = Text(m.prefix().first, m.prefix().second);
    r.suffix = Text(m[0].second, end);
    r.match = Text(m[0].first, m[0].second);
    r.groups.SetSize(static_cast<int>(m.size()) - 1);
    for (size_t i = 1; i < m.size(); ++i) {
        if (m[i].matched)
            r.groups[static_cast<int>(i) - 1] = Text(m[i].first, m[i].second);
    }
    matchResults.Add(r);
}

bool TCRegExpImpl::FindAll(const char* begin, const char* end, rc::match_flag_type flags)
{
    if (!storeResults) {
        std::cmatch m;
        return Attempt(begin, end, m, flags | rc::match_any);
    }
    const size_t length = static_cast<size_t>(end - begin);
    bool found = false;
    // The last attempt starts at the end, so a final empty match is kept. Later
    // attempts tell the engine that the text goes on before the start, so that '^'
    // and word boundaries see the real neighbour.
    for (size_t start = 0; start <= length;) {
        std::cmatch m;
        const rc::match_flag_type f = start > 0 ? flags | rc::match_prev_avail : flags;
        if (!Attempt(begin + start, end, m, f))
            break;
        Store(m, end);
        found = true;
        const size_t next = static_cast<size_t>(m[0].second - begin);
        start = m[0].length() > 0 ? next : next + 1;
    }
    return found;
}

bool TCRegExpImpl::Find(const TCString& text, unsigned long matchFlags)
{
    matchResults.SetSize(0);
    const char* begin = text;
    bool found = false;
    const bool ran = RunWithStack(Length(text), [&] {
        try {
            found = FindAll(begin, begin + text.GetLength(),
                            static_cast<rc::match_flag_type>(matchFlags));
        } catch (...) {
            // The engine gave up (too complex, out of memory): what was found stays.
            found = !matchResults.IsEmpty();
        }
    });
    return ran && found;
}

bool TCRegExpImpl::Replace(TCString& result, const TCString& text, const TCString& format,
                           unsigned long matchFlags) const
{
    std::string out;
    bool ok = false;
    const char* begin = text;
    const bool ran = RunWithStack(Length(text), [&] {
        try {
            const std::string fmt(static_cast<const char*>(format), Length(format));
            out.reserve(Length(text));
            std::regex_replace(std::back_inserter(out), begin, begin + text.GetLength(),
                               expression, fmt, static_cast<rc::match_flag_type>(matchFlags));
            ok = out.size() <= static_cast<size_t>(INT_MAX);
        } catch (...) {
        }
    });
    if (!ran || !ok) {
        result.Empty();
        return false;
    }
    result = TCString(out.data(), static_cast<int>(out.size()));
    return true;
}

TCRegExp::TCRegExp() : m_impl(new TCRegExpImpl) {}

TCRegExp::TCRegExp(const TCString& pattern, unsigned long syntaxFlags) : TCRegExp()
{
    Init(pattern, syntaxFlags);
}

TCRegExp::TCRegExp(const TCRegExp& other) : m_impl(new TCRegExpImpl(*other.m_impl)) {}

TCRegExp& TCRegExp::operator=(const TCRegExp& other)
{
    if (this != &other)
        *m_impl = *other.m_impl;
    return *this;
}

TCRegExp::~TCRegExp() { delete m_impl; }

bool TCRegExp::Init(const TCString& pattern, unsigned long syntaxFlags)
{
    m_impl->Compile(pattern, syntaxFlags);
    return true;
}

bool TCRegExp::IsError(unsigned long* code)
{
    if (m_impl->error < 0)
        return false;
    if (code)
        *code = static_cast<unsigned long>(m_impl->error);
    m_impl->error = -1;
    return true;
}

void TCRegExp::SetStoreResults(bool store) { m_impl->storeResults = store; }

void TCRegExp::SetFindType(FindType type) { m_impl->findType = type; }

bool TCRegExp::Find(const TCString& text, unsigned long matchFlags)
{
    return m_impl->Find(text, matchFlags);
}

const TCArray<TCRegExp::MatchResult>& TCRegExp::GetMatchResults() const
{
    return m_impl->matchResults;
}

bool TCRegExp::Replace(TCString& result, const TCString& text, const TCString& format,
                       unsigned long matchFlags)
{
    return m_impl->Replace(result, text, format, matchFlags);
}

bool TCRegExp::Find(const TCString& text, const TCString& pattern, unsigned long matchFlags)
{
    TCRegExp re(pattern, ECMAScript);
    return !re.IsError() && re.Find(text, matchFlags);
}

bool TCRegExp::Replace(TCString& result, const TCString& text, const TCString& pattern,
                       const TCString& format, unsigned long matchFlags)
{
    TCRegExp re(pattern, ECMAScript);
    if (re.IsError()) {
        result.Empty();
        return false;
    }
    return re.Replace(result, text, format, matchFlags);
}
