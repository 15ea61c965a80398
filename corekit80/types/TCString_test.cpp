// Tests of TCString against a model, by characters, and its formatting against snprintf.
#include "corekit80/types/TCString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Bytes(const TCString& s) { return std::string(static_cast<const char*>(s), s.GetLength()); }
TCString Make(const std::string& s) { return TCString(s.data(), int(s.size())); }
const char* P(const TCString& s) { return s; }

// The invariants every operation keeps.
void ExpectInvariants(const TCString& s)
{
    ASSERT_NE(P(s), nullptr);
    if (s.GetAllocLength() > 0) {
        EXPECT_GT(s.GetAllocLength(), s.GetLength());
        EXPECT_EQ(P(s)[s.GetLength()], 0);
    } else {
        EXPECT_EQ(s.GetLength(), 0);
        EXPECT_STREQ(P(s), "");
    }
}

// ---- A simple model of the operations, written from their descriptions. ----

std::string TextOf(const std::string& s) { return s.substr(0, std::strlen(s.c_str())); }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int ModelFind(const std::string& s, const std::string& pat, int start)
{
    start = std::max(start, 0);
    if (start >= int(s.size()))
        return -1;
    const size_t p = TextOf(s.substr(start)).find(pat);
    return p == std::string::npos ? -1 : int(p) + start;
}

std::string ModelTrimRight(const std::string& s, bool stopAtZero, auto trimmable)
{
    int run = -1;
    for (size_t i = 0; i < s.size() && !(stopAtZero && s[i] == 0); ++i)
        run = !trimmable(s[i]) ? -1 : run < 0 ? int(i) : run;
    return run < 0 ? s : s.substr(0, run);
}

std::string ModelTrimLeft(const std::string& s, auto trimmable)
{
    size_t i = 0;
    while (i < s.size() && trimmable(s[i]))
        ++i;
    return s.substr(i);
}

// Non-overlapping replacement from the left; the count of replacements.
int ModelReplace(std::string& m, const std::string& from, const std::string& to)
{
    if (from.empty())
        return 0;
    int count = 0;
    for (size_t p = m.find(from); p != std::string::npos; p = m.find(from, p + to.size()), ++count)
        m.replace(p, from.size(), to);
    return count;
}

const char kAlphabet[] = {'a', 'b', ' ', '\0', '\t', 'A', 'z'};

std::string RandomBytes(std::mt19937& rng, int maxLength)
{
    std::string s(std::uniform_int_distribution<int>(0, maxLength)(rng), 'a');
    for (char& c : s)
        c = kAlphabet[rng() % sizeof kAlphabet];
    return s;
}

TEST(TCStringModel, RandomOperationSequencesAgreeWithModel)
{
    std::mt19937 rng(20261205);
    for (int round = 0; round < 300; ++round) {
        TCString s;
        std::string m;
        for (int step = 0; step < 60; ++step) {
            const int op = int(rng() % 24);
            const std::string arg = RandomBytes(rng, 6);
            const std::string text = TextOf(arg);
            const int i = int(rng() % 12) - 2;
            const int n = int(rng() % 8) - 1;
            const int at = std::clamp(i, 0, int(m.size()));
            const char c = kAlphabet[rng() % sizeof kAlphabet];
            SCOPED_TRACE("op " + std::to_string(op) + " step " + std::to_string(step));
            switch (op) {
            case 0: s.Append(arg.data(), int(arg.size())); m += arg; break;
            case 1: s += text.c_str(); m += text; break;
            case 2: s += c; m += c; break;
            case 3: s += s; m += m; break;
            case 4: EXPECT_EQ(s.Insert(i, c), int(m.size()) + 1); m.insert(m.begin() + at, c); break;
            case 5: s.Insert(i, text.c_str()); m.insert(at, text); break;
            case 6:
                s.Delete(i, n);
                if (n >= 1 && std::max(i, 0) < int(m.size()))
                    m.erase(std::max(i, 0), n);
                break;
            case 7: EXPECT_EQ(s.Remove(c), int(std::count(m.begin(), m.end(), c))); std::erase(m, c); break;
            case 8: {
                const char d = kAlphabet[rng() % sizeof kAlphabet];
                EXPECT_EQ(s.Replace(c, d), c == d ? 0 : int(std::count(m.begin(), m.end(), c)));
                std::replace(m.begin(), m.end(), c, d);
                break;
            }
            case 9: {
                const std::string to = TextOf(RandomBytes(rng, 3));
                EXPECT_EQ(s.Replace(text.c_str(), to.c_str()), ModelReplace(m, text, to));
                break;
            }
            case 10: s.MakeUpper(); for (char& x : m) x = char(std::toupper(x)); break;
            case 11: s.MakeReverse(TCString::DF_BINARY); std::reverse(m.begin(), m.end()); break;
            case 12: s.TrimLeft(); m = ModelTrimLeft(m, IsSpace); break;
            case 13: s.TrimRight(); m = ModelTrimRight(m, true, IsSpace); break;
            case 14: s.TrimRight(TCString::DF_BINARY); m = ModelTrimRight(m, false, IsSpace); break;
            case 15:
                s.TrimRight(c, TCString::DF_BINARY);
                m = ModelTrimRight(m, false, [c](char x) { return x == c; });
                break;
            case 16:
                s.TrimLeft(text.c_str());
                if (!text.empty())
                    m = ModelTrimLeft(m, [&](char x) { return x && text.find(x) != std::string::npos; });
                break;
            case 17: {
                const int first = std::max(i, 0);
                EXPECT_EQ(Bytes(s.Mid(i, n)), first > int(m.size()) ? "" : m.substr(first, std::max(n, 0)));
                break;
            }
            case 18: EXPECT_EQ(s.Find(text.c_str(), i), ModelFind(m, text, i)); break;
            case 19: {
                const size_t p = std::max(i, 0) >= int(m.size()) ? std::string::npos : m.find(arg, std::max(i, 0));
                EXPECT_EQ(s.FindBin(Make(arg), i), p == std::string::npos ? -1 : int(p));
                break;
            }
            case 20: EXPECT_EQ(s.ReverseFind(c, TCString::DF_BINARY), int(m.rfind(c))); break;
            case 21: s.Empty(rng() % 2 == 0); m.clear(); break;
            case 22: s = s; s = TCString(s); break;
            case 23:
                s.SetAt(i, c);
                if (i >= 0 && i < int(m.size()))
                    m[i] = c;
                break;
            }
            ASSERT_EQ(Bytes(s), m);
            ExpectInvariants(s);
        }
    }
}

// ---- Comparison, searches and extraction on fixed cases the model does not reach. ----

TEST(TCString, ComparisonsTreatEmbeddedZeroAndNull)
{
    const TCString s("ab\0cd", 5);
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_TRUE(s == "ab");
    EXPECT_EQ(s.CompareBin(TCString("ab")), 1);
    EXPECT_EQ(TCString("ab").CompareBin(s), -1);
    // Null text ranks below every string, the empty one included.
    const TCString empty;
    const char* null = nullptr;
    EXPECT_EQ((std::vector<bool>{empty == null, empty != null, empty < null, empty > null, empty <= null,
                                 empty >= null, null < empty}),
              (std::vector<bool>{false, true, false, true, false, true, true}));
    EXPECT_EQ(empty.Compare(nullptr), 1);
    EXPECT_EQ(TCString("b").CompareNoCase("B"), 0);
    EXPECT_LT(TCString("_").CompareNoCase("A"), 0) << "compares as lower case";
}

TEST(TCString, DelimitedExtraction)
{
    const TCString abc("abc"), zero("ab\0cd", 5), path("a/b/c"), nested("f(a(b))"), tags("<1><2><3>");
    const struct { TCString got; const char* expected; } cases[] = {
        {abc.Mid(-5), "abc"}, {abc.Left(-1), ""}, {abc.Right(2), "bc"},
        {zero.Right(1), "b"}, {zero.Right(1, TCString::DF_BINARY), "d"},
        {path.RightOf("/", 1), "c"}, {path.RightOf("/", -1), "b/c"},
        {path.LeftOf("/", 1), "a"}, {path.LeftOf("/", -1), "a/b"}, {path.LeftOf("x", 1), ""},
        {nested.MidOf("(", ")"), "a(b)"},
        {tags.MidOf("<", 2, ">", 2), "2"}, {tags.MidOf("<", 2, ">", 1), "2><3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bytes(c.got), c.expected);
    const TCString s("abcabc");
    for (auto [index, expected] : {std::pair{-1, 3}, {2, 3}, {3, -1}, {-3, -1}, {0, 0}, {1, 0}, {-2, 0}})
        EXPECT_EQ(s.FindStringIndex("a", index, TCString::DF_ASCII), expected) << index;
    EXPECT_EQ(TCString("aaaa").FindStringIndex("aa", -1), 2) << "occurrences do not overlap";
    EXPECT_EQ(s.FindStringIndex("", 1), -1);
}

TEST(TCString, SearchesWorkByCharacters)
{
    // "é" is C3 A9; a lone A9 byte is a character of its own.
    const TCString s("\xc3\xa9-\xa9"), t("\xc3\xa9\xc3\xa9xy");
    EXPECT_EQ(s.Find("\xa9"), 3);
    EXPECT_EQ(s.Find('\xa9'), 3);
    EXPECT_EQ(s.ReverseFind('\xa9'), 3);
    EXPECT_EQ(s.FindNoCase("-\xA9"), 2);
    EXPECT_EQ(TCString("Hello World").FindNoCase("WORLD", -3), 6);
    EXPECT_EQ(TCString("abc").Find(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(Bytes(t.SpanIncluding("\xc3\xa9")), "\xc3\xa9\xc3\xa9");
    EXPECT_EQ(Bytes(t.SpanExcluding("y")), "\xc3\xa9\xc3\xa9x");
    EXPECT_EQ(t.FindOneOf("yx"), 4);
    EXPECT_EQ(t.FindOneOf("\xa9"), -1) << "a trail byte is not a character here";
    EXPECT_EQ(TCString("ab\0cd", 5).FindOneOf("\0d", 2, 1), 2);
    EXPECT_EQ(Bytes(TCString("a\xc3\xa9" "b").MakeReverse()), "b\xc3\xa9" "a");
}

// White space and embedded zeros are covered by the model; sets of characters are not.
TEST(TCString, TrimBySetsOfCharacters)
{
    TCString set("x\xc3\xa9y\xc3\xa9");
    EXPECT_EQ(Bytes(set.TrimRight("\xc3\xa9")), "x\xc3\xa9y");
    TCString t("abcba");
    EXPECT_EQ(Bytes(t.TrimLeft(TCString("ba"), TCString::DF_BINARY)), "cba");
    EXPECT_EQ(Bytes(t.TrimRight(TCString("ab"), TCString::DF_ASCII)), "c");
    const int before = t.GetAllocLength();
    t.TrimLeft('c');
    EXPECT_EQ(t.GetAllocLength(), before) << "shortening keeps the buffer";
}

// ---- Buffer management. ----

TEST(TCString, GrowthIsExactExceptWhereReserved)
{
    TCString s("abc");
    EXPECT_EQ(s.GetAllocLength(), 4);
    s += "de";
    EXPECT_EQ(s.GetAllocLength(), 6);
    std::strcpy(s.GetBuffer(10), "0123456789");
    EXPECT_EQ(s.GetAllocLength(), 11);
    s.ReleaseBuffer();
    EXPECT_EQ(Bytes(s), "0123456789");
    s.ReleaseBuffer(3);
    EXPECT_EQ(Bytes(s), "012");
    EXPECT_EQ(s.GetAllocLength(), 11);
    s.FreeExtra();
    EXPECT_EQ(s.GetAllocLength(), 4);
    const char* end = s.AllocAddBuffer(6, 0.5);
    EXPECT_EQ(end, P(s) + 3);
    EXPECT_EQ(s.GetAllocLength(), 15); // (3 + 1 + 6) * 1.5
    s.GetBufferSetLength(1);
    EXPECT_EQ(s.GetAllocLength(), 2);
    EXPECT_EQ(Bytes(s), "0");
    s.Empty(false);
    EXPECT_EQ(s.GetAllocLength(), 2);
    s.Empty(true);
    EXPECT_EQ(s.GetAllocLength(), 0);
}

// Arguments that point into the string itself survive its reallocation.
TEST(TCString, ArgumentsMayPointIntoTheString)
{
    TCString s("hello world");
    s = P(s) + 6;
    EXPECT_EQ(Bytes(s), "world");
    s.Insert(5, P(s));
    EXPECT_EQ(Bytes(s), "worldworld");
    s = "ab-ab";
    EXPECT_EQ(s.Replace("-", P(s)), 1);
    EXPECT_EQ(Bytes(s), "abab-abab");
    s = "abc";
    s.Format("%s-%s", P(s), P(s));
    EXPECT_EQ(Bytes(s), "abc-abc");
    const std::string big(3000, 'q');
    s = big.c_str();
    s.FormatAppend("%s", P(s));
    EXPECT_EQ(Bytes(s), big + big);
    EXPECT_EQ(Bytes(TCString::FormatS("%d:%.2f", 7, 1.5)), "7:1.50");
}

// ---- Formatting. ----

TEST(TCString, FormatAgreesWithSnprintf)
{
    std::mt19937 rng(7);
    std::vector<char> expected(1 << 16);
    for (int k = 0; k < 2000; ++k) {
        const int width = int(rng() % 3000);
        const int value = int(rng());
        const double d = std::ldexp(double(rng()), int(rng() % 200) - 100);
        const std::string text(rng() % 2500, char('a' + rng() % 26));
        const int r = std::snprintf(expected.data(), expected.size(), "%*d|%g|%s|%.3e", width, value, d,
                                    text.c_str(), d);
        TCString s("old");
        s.Format("%*d|%g|%s|%.3e", width, value, d, text.c_str(), d);
        ASSERT_EQ(s.GetLength(), r);
        ASSERT_STREQ(s, expected.data());
        int size = 1024;
        while (size < r)
            size *= 2;
        EXPECT_EQ(s.GetAllocLength(), size + 2) << "the working size stays as the buffer size";
        s.FormatAppend("%c", 'z');
        EXPECT_EQ(s.GetLength(), r + 1);
    }
}

TEST(TCString, FormatMessageInsertsAndEscapes)
{
    struct Case { const char* fmt; const char* expected; } cases[] = {
        {"%1 and %2!d!", "one and 42"},
        {"%2!d! before %1", "42 before one"},
        {"%1!-5s!|%3!.2f!", "one  |2.50"},
        {"100%% sure%.%!% |", "100% sure.! |"},
        {"line%nnext%rcr", "line\r\nnext\rcr"},
        {"stop%0 here", "stop"},
    };
    for (const auto& c : cases) {
        TCString s;
        EXPECT_TRUE(s.FormatMessage(c.fmt, "one", 42, 2.5)) << c.fmt;
        EXPECT_EQ(Bytes(s), c.expected) << c.fmt;
    }
    TCString s("unchanged");
    EXPECT_FALSE(s.FormatMessage("%1!d", 1));
    EXPECT_FALSE(s.FormatMessage("%1!q!", 1));
    EXPECT_FALSE(s.FormatMessage("%1!d! %1!s!", 1));
    EXPECT_EQ(Bytes(s), "unchanged");
}

// ---- Conversions. ----

TEST(TCString, UnicodeRoundTripAndLayout)
{
    TCString s;
    const char16_t* w = s.ToUnicode("a\xc3\xa9\xf0\x9f\x98\x80");
    EXPECT_EQ(s.GetLength(), 8);
    EXPECT_EQ(std::u16string(w), std::u16string(u"a\u00e9\U0001F600"));
    EXPECT_EQ(w[4], 0);
    EXPECT_EQ(Bytes(TCString(w)), "a\xc3\xa9\xf0\x9f\x98\x80");
    TCString self;
    self.ToUnicode("xyz");
    self.ToMultibyte(reinterpret_cast<const char16_t*>(P(self)));
    EXPECT_EQ(Bytes(self), "xyz");
    EXPECT_EQ(Bytes(TCString(u"\xd800")), "\xef\xbf\xbd") << "a lone surrogate becomes U+FFFD";
}

} // namespace
