// Tests of TCRegExp: find types, errors, replacement, binary text, JavaScript golden results.
#include "corekit80/foundation/TCRegExp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string Str(const TCString& s) { return std::string(s, static_cast<size_t>(s.GetLength())); }
TCString Tc(const std::string& s) { return TCString(s.data(), static_cast<int>(s.size())); }

// Matches, prefixes, suffixes and empty matches are checked against the golden data below.
TEST(TCRegExp, FindTypesAndStoredResults)
{
    TCRegExp re("[0-9]+", TCRegExp::ECMAScript);
    re.SetStoreResults(true);
    ASSERT_TRUE(re.Find("a1b22c"));
    re.SetFindType(TCRegExp::FT_MATCH);
    EXPECT_FALSE(re.Find("a1b22c"));
    EXPECT_TRUE(re.GetMatchResults().IsEmpty()) << "a failed find clears the results";
    re.SetFindType(static_cast<TCRegExp::FindType>(2));
    EXPECT_FALSE(re.Find("122"));
    // Without store results only the outcome counts.
    TCRegExp any("(b)(x)?", TCRegExp::ECMAScript);
    EXPECT_TRUE(any.Find("abc"));
    EXPECT_TRUE(any.GetMatchResults().IsEmpty());
}

TEST(TCRegExp, ErrorsAndFlags)
{
    TCRegExp re("(ab", TCRegExp::ECMAScript);
    unsigned long code = 99;
    EXPECT_TRUE(re.IsError(&code));
    EXPECT_EQ(code, static_cast<unsigned long>(std::regex_constants::error_paren));
    EXPECT_FALSE(re.IsError(&code));
    EXPECT_FALSE(re.Find("(ab"));  // a failed pattern leaves an expression that matches nothing
    TCString out;
    EXPECT_TRUE(re.Replace(out, "(ab", "x"));
    EXPECT_EQ(Str(out), "(ab");

    struct Case { const char* pattern; unsigned long syntax; const char* text; unsigned long match; bool error, found; };
    const Case cases[] = {
        {"abc", TCRegExp::ECMAScript, "xABCx", 0, false, false},
        {"abc", TCRegExp::ECMAScript | TCRegExp::Icase, "xABCx", 0, false, true},
        {"a\\{2\\}", TCRegExp::Basic, "aa", 0, false, true},
        {"a{2}", TCRegExp::Extended, "aa", 0, false, true},
        {"a", TCRegExp::Basic | TCRegExp::Extended, "a", 0, true, false},
        {"[b-a]", TCRegExp::ECMAScript, "a", 0, true, false},
        {"a{99999999999}", TCRegExp::ECMAScript, "a", 0, true, false},
        {"^a", TCRegExp::ECMAScript, "ab", TCRegExp::MatchNotBol, false, false},
        {"b$", TCRegExp::ECMAScript, "ab", TCRegExp::MatchNotEol, false, false},
        {"x*", TCRegExp::ECMAScript, "ab", TCRegExp::MatchNotNull, false, false},
        {"b", TCRegExp::ECMAScript, "ab", TCRegExp::MatchContinuous, false, false},
    };
    for (const Case& c : cases) {
        TCRegExp r(c.pattern, c.syntax);
        EXPECT_EQ(r.IsError(), c.error) << c.pattern;
        EXPECT_EQ(r.Find(c.text, c.match), c.found) << c.pattern;
    }
    // The static forms use the ECMAScript grammar, case-sensitive.
    EXPECT_FALSE(TCRegExp::Find("ABC", "abc"));
    EXPECT_TRUE(TCRegExp::Find("xabab", "x(?:ab)+"));
    EXPECT_FALSE(TCRegExp::Find("(", "("));
}

TEST(TCRegExp, Replace)
{
    struct Case { const char* text; const char* pattern; const char* format; unsigned long flags; const char* result; };
    const Case cases[] = {
        {"a1b22c", "[0-9]+", "<$&>", 0, "a<1>b<22>c"},
        {"a1b22c", "([a-z])([0-9])", "$2$1", 0, "1a2b2c"},
        {"a1b22c", "[0-9]+", "#", TCRegExp::FormatFirstOnly, "a#b22c"},
        {"a1b22c", "[0-9]+", "#", TCRegExp::FormatNoCopy, "##"},
        {"a1b22c", "([0-9]+)", "\\1\\1", TCRegExp::FormatSed, "a11b2222c"},
        {"abc", "x*", "-", 0, "-a-b-c-"},
    };
    for (const Case& c : cases) {
        TCString out = "old";
        EXPECT_TRUE(TCRegExp::Replace(out, c.text, c.pattern, c.format, c.flags));
        EXPECT_EQ(Str(out), c.result) << c.pattern << " " << c.format;
    }
    TCString out = "old";
    EXPECT_FALSE(TCRegExp::Replace(out, "abc", "[", "x"));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(TCRegExp, BinaryTextAndCopies)
{
    const std::string text("a\0b\0\0c", 6);
    TCRegExp re(Tc(std::string("\\0+", 3)), TCRegExp::ECMAScript);
    TCRegExp copy(re);
    re = TCRegExp("z", TCRegExp::ECMAScript);
    copy.SetStoreResults(true);
    ASSERT_TRUE(copy.Find(Tc(text)));
    ASSERT_EQ(copy.GetMatchResults().GetSize(), 2);
    EXPECT_EQ(Str(copy.GetMatchResults()[1].match), std::string("\0\0", 2));
    EXPECT_EQ(Str(copy.GetMatchResults()[1].suffix), "c");
    EXPECT_FALSE(re.Find(Tc(text)));
    TCString out;
    ASSERT_TRUE(copy.Replace(out, Tc(text), "-"));
    EXPECT_EQ(Str(out), "a-b-c");
}

// Golden data from JavaScript's RegExp (tools/gen_regexp_golden.js).
std::filesystem::path TestData(const char* name)
{
    const char* dir = std::getenv("CK80_TEST_DATA");
    return (dir ? std::filesystem::path(dir)
                : std::filesystem::path(__FILE__).parent_path() / "../../tests/data") / name;
}

std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        if (c == 'x') {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> out;
    for (size_t from = 0, tab = 0; tab != std::string::npos; from = tab + 1)
        out.push_back(Unescape(line.substr(from, (tab = line.find('\t', from)) - from)));
    return out;
}

// Prefix + match of every stored result, then the last suffix, give the text again
// when no match is empty.
void ExpectReassembles(const TCRegExp& re, const std::string& text)
{
    std::string joined;
    for (const TCRegExp::MatchResult& r : re.GetMatchResults()) {
        ASSERT_FALSE(r.match.IsEmpty());
        joined += Str(r.prefix) + Str(r.match);
    }
    if (!re.GetMatchResults().IsEmpty())
        joined += Str(re.GetMatchResults()[re.GetMatchResults().GetSize() - 1].suffix);
    EXPECT_EQ(joined, re.GetMatchResults().IsEmpty() ? "" : text);
}

TEST(TCRegExp, AgreesWithJavaScript)
{
    std::ifstream in(TestData("regexp_golden.tsv"));
    ASSERT_TRUE(in) << TestData("regexp_golden.tsv");
    std::string line;
    int cases = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> c = Fields(line);
        ASSERT_EQ(c[0], "C");
        ++cases;
        ASSERT_EQ(c.size(), 6u);
        const unsigned long syntax = TCRegExp::ECMAScript | (c[2] == "i" ? TCRegExp::Icase : 0);
        TCRegExp re(Tc(c[1]), syntax);
        ASSERT_FALSE(re.IsError()) << c[1];
        re.SetFindType(TCRegExp::FT_MATCH);
        EXPECT_EQ(re.Find(Tc(c[3])), c[4] == "1") << c[1] << " on " << c[3];
        re.SetFindType(TCRegExp::FT_SEARCH);
        re.SetStoreResults(true);
        const int count = std::stoi(c[5]);
        EXPECT_EQ(re.Find(Tc(c[3])), count > 0);
        ASSERT_EQ(re.GetMatchResults().GetSize(), count) << c[1] << " on " << c[3];
        bool anyEmpty = false;
        for (const TCRegExp::MatchResult& r : re.GetMatchResults()) {
            ASSERT_TRUE(std::getline(in, line));
            const std::vector<std::string> m = Fields(line);
            std::vector<std::string> got{"M", Str(r.prefix), Str(r.suffix), Str(r.match)};
            for (const TCString& g : r.groups)
                got.push_back(Str(g));
            EXPECT_EQ(got, m) << c[1] << " on " << c[3];
            anyEmpty = anyEmpty || r.match.IsEmpty();
        }
        if (!anyEmpty)
            ExpectReassembles(re, c[3]);
    }
    EXPECT_GT(cases, 500);
}

TEST(TCRegExp, LongRandomTextsReassemble)
{
    // Above the size that is matched on the caller's stack.
    std::mt19937 rng(7);
    const char* patterns[] = {"[0-9]+", "(a|b)+c", "\\w+", "\\s", "x[^x]*x", "(\\d)\\1"};
    for (const char* p : patterns) {
        std::string text(5000, ' ');
        for (char& ch : text)
            ch = "ab1 2cx\n"[rng() % 8];
        TCRegExp re(p, TCRegExp::ECMAScript);
        re.SetStoreResults(true);
        EXPECT_TRUE(re.Find(Tc(text))) << p;
        ExpectReassembles(re, text);
    }
}

TEST(TCRegExp, HugeTexts)
{
    // A match that spans the whole text recurses once per character in the engine.
    const std::string deep(200000, 'a');
    TCRegExp all("[\\s\\S]*", TCRegExp::ECMAScript);
    all.SetFindType(TCRegExp::FT_MATCH);
    EXPECT_TRUE(all.Find(Tc(deep)));
    EXPECT_TRUE(TCRegExp::Find(Tc(deep), "^a+$"));
    // The compiler recurses per element of the pattern.
    EXPECT_TRUE(TCRegExp::Find(Tc(deep), Tc(std::string(50000, 'a'))));
    TCString out;
    ASSERT_TRUE(TCRegExp::Replace(out, Tc(deep), "a+", "b"));
    EXPECT_EQ(Str(out), "b");

    // 10 MB, with matches a few characters long.
    std::string big(10 << 20, '.');
    for (size_t i = 1000; i < big.size(); i += 1 << 20)
        big.replace(i, 5, "id=42");
    TCRegExp ids("id=([0-9]+)", TCRegExp::ECMAScript);
    ids.SetStoreResults(true);
    ASSERT_TRUE(ids.Find(Tc(big)));
    EXPECT_EQ(ids.GetMatchResults().GetSize(), 10);
    EXPECT_EQ(Str(ids.GetMatchResults()[9].groups[0]), "42");
    EXPECT_FALSE(TCRegExp::Find(Tc(big), "id=7"));
}

} // namespace
