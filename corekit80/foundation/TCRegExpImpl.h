#pragma once

// TCRegExpImpl, the compiled expression and results behind a TCRegExp.

#include <locale>
#include <regex>

#include "corekit80/foundation/TCRegExp.h"

// The state behind a TCRegExp and the work that may run on a helper thread.
class TCRegExpImpl {
public:
    bool storeResults = false;
    TCRegExp::FindType findType = TCRegExp::FT_SEARCH;
    TCArray<TCRegExp::MatchResult> matchResults;
    std::regex expression;
    std::locale locale;
    long error = -1;

    void Compile(const TCString& pattern, unsigned long syntaxFlags);
    bool Find(const TCString& text, unsigned long matchFlags);
    bool Replace(TCString& result, const TCString& text, const TCString& format,
                 unsigned long matchFlags) const;

private:
    bool Attempt(const char* first, const char* last, std::cmatch& m,
                 std::regex_constants::match_flag_type flags) const;
    void Store(const std::cmatch& m, const char* end);
    bool FindAll(const char* begin, const char* end, std::regex_constants::match_flag_type flags);
};
