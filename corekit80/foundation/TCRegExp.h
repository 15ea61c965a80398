#pragma once

// TCRegExp, regular-expression search and replacement on TCString texts.

#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCRegExpImpl;

// Regular-expression search and replacement on TCString texts, with the standard
// library's engine. Compilation errors are kept and reported once by IsError; nothing
// of the engine escapes. The whole stored length is searched, so binary text works.
class TC_EXPORT TCRegExp {
public:
    // Syntax flags of Init: the engine's values, passed to it unchanged.
    static constexpr unsigned long Icase = 1;
    static constexpr unsigned long NoSubs = 2;
    static constexpr unsigned long Optimize = 4;
    static constexpr unsigned long Collate = 8;
    static constexpr unsigned long ECMAScript = 16;
    static constexpr unsigned long Basic = 32;
    static constexpr unsigned long Extended = 64;
    static constexpr unsigned long Awk = 128;
    static constexpr unsigned long Grep = 256;
    static constexpr unsigned long Egrep = 512;
    static constexpr unsigned long Multiline = 2048;

    // Match and format flags of Find and Replace: the engine's values as well.
    static constexpr unsigned long MatchDefault = 0;
    static constexpr unsigned long MatchNotBol = 1;
    static constexpr unsigned long MatchNotEol = 2;
    static constexpr unsigned long MatchNotBow = 4;
    static constexpr unsigned long MatchNotEow = 8;
    static constexpr unsigned long MatchAny = 16;
    static constexpr unsigned long MatchNotNull = 32;
    static constexpr unsigned long MatchContinuous = 64;
    static constexpr unsigned long MatchPrevAvail = 128;
    static constexpr unsigned long FormatDefault = 0;
    static constexpr unsigned long FormatSed = 256;
    static constexpr unsigned long FormatNoCopy = 512;
    static constexpr unsigned long FormatFirstOnly = 1024;

    // FT_MATCH: the expression must match the whole remaining text; FT_SEARCH: anywhere in it.
    enum FindType : int { FT_MATCH = 0, FT_SEARCH = 1 };

    // One match: the text searched before it (from where the attempt started), the
    // text after it, the matched text, and each capture group 1..n (empty when the
    // group took no part).
    struct MatchResult {
        TCString prefix;
        TCString suffix;
        TCString match;
        TCArray<TCString> groups;
    };

    TCRegExp();
    TCRegExp(const TCString& pattern, unsigned long syntaxFlags);
    TCRegExp(const TCRegExp& other);
    TCRegExp& operator=(const TCRegExp& other);
    ~TCRegExp();

    // Compiles the pattern. A compilation error is stored for IsError and leaves an
    // expression that matches nothing. Returns true.
    bool Init(const TCString& pattern, unsigned long syntaxFlags);
    // False when no error is stored; else writes the engine's error code (when code
    // is not null), clears it and returns true.
    bool IsError(unsigned long* code = nullptr);

    void SetStoreResults(bool store);
    void SetFindType(FindType type);

    // True when something matched. With store results every match is collected,
    // each attempt starting where the previous match ended.
    bool Find(const TCString& text, unsigned long matchFlags = MatchDefault);
    const TCArray<MatchResult>& GetMatchResults() const;
    // result becomes text with every match replaced by the format. False only when
    // the engine failed; result is then empty.
    bool Replace(TCString& result, const TCString& text, const TCString& format,
                 unsigned long matchFlags = MatchDefault);

    // The same with a pattern compiled in the ECMAScript grammar; a pattern that
    // does not compile gives false.
    static bool Find(const TCString& text, const TCString& pattern,
                     unsigned long matchFlags = MatchDefault);
    static bool Replace(TCString& result, const TCString& text, const TCString& pattern,
                        const TCString& format, unsigned long matchFlags = MatchDefault);

private:
    TCRegExpImpl* m_impl;
};
