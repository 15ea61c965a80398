#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "corekit80/archive/ConvertStringToArray.h"

namespace {

template <class A> std::vector<double> Values(const A& a)
{
    std::vector<double> v;
    for (int i = 0; i < a.GetSize(); ++i)
        v.push_back(a[i]);
    return v;
}

template <class A> std::vector<std::string> Texts(const A& a)
{
    std::vector<std::string> v;
    for (int i = 0; i < a.GetSize(); ++i)
        v.emplace_back((const char*)a[i], a[i].GetLength());
    return v;
}

TEST(ConvertStringToArray, Integers)
{
    struct { const char* text; std::vector<double> want; } cases[] = {
        {"[1, -2; +3]", {1, -2, 3}}, {"abc", {}}, {"1.5", {1, 5}}, {"1e3", {1, 3}},
        {"--5", {-5}}, {"- 4", {4}}, {"99999999999 -99999999999", {2147483647, -2147483648.0}},
        {"", {}}, {nullptr, {}},
    };
    for (const auto& c : cases) {
        CArray<int, int> a;
        TCArray<int, int> b;
        TCArray<int, const int&> d;
        a.Add(42);
        EXPECT_EQ(ConvertStringToIntArray(c.text, a), int(c.want.size())) << c.text;
        ConvertStringToIntArray(c.text, b);
        ConvertStringToIntArray(c.text, d);
        EXPECT_EQ(Values(a), c.want) << (c.text ? c.text : "null");
        EXPECT_EQ(Values(b), c.want);
        EXPECT_EQ(Values(d), c.want);
    }
}

TEST(ConvertStringToArray, Doubles)
{
    struct { const char* text; bool comma; std::vector<double> want; } cases[] = {
        {"-.5 .25", false, {-0.5, 0.25}}, {"1.234,5", true, {1234.5}},
        {"1.5;2e-3", false, {1.5, 0.002}}, {"1,5", false, {1, 5}}, {"1.5-2.5", false, {1.5}},
        {"0x10 inf nan", false, {0, 10}}, {"5 V, 3e", false, {5, 3}}, {"- . +", false, {}},
        {"1e999", false, {HUGE_VAL}}, {nullptr, true, {}},
    };
    for (const auto& c : cases) {
        CArray<double, double> a;
        TCArray<double, double> b;
        TCArray<double, const double&> d;
        EXPECT_EQ(ConvertStringToDblArray(c.text, a, c.comma), int(c.want.size()));
        ConvertStringToDblArray(c.text, b, c.comma);
        ConvertStringToDblArray(c.text, d, c.comma);
        EXPECT_EQ(Values(a), c.want) << (c.text ? c.text : "null");
        EXPECT_EQ(Values(b), c.want);
        EXPECT_EQ(Values(d), c.want);
    }
}

TEST(ConvertStringToArray, Split)
{
    using V = std::vector<std::string>;
    struct { const char* text; const char* sep; bool keep; V want; } cases[] = {
        {"a,,b,", ",", false, {"a", "", "b"}}, {"a,,b,", ",", true, {"a,", ",", "b,"}},
        {"x", "", false, {"x"}}, {nullptr, "", false, {""}}, {"", ",", false, {}},
        {nullptr, ",", false, {}}, {",a", ",", false, {"", "a"}}, {"a\nb", "\n", false, {"a", "b"}},
        {"a--b---c", "--", false, {"a", "b", "-c"}},
        // The separator's byte inside a multibyte character is no separator.
        {"\xC3\xA4\xA4x\xA4", "\xA4", false, {"\xC3\xA4", "x"}},
    };
    for (const auto& c : cases) {
        CStringArray a;
        CArray<CString, CString&> b;
        TCArray<TCString, const TCString&> d;
        EXPECT_EQ(ConvertStringToStrArray(c.text, a, c.sep, c.keep), int(c.want.size()));
        ConvertStringToStrArray(c.text, b, c.sep, c.keep);
        ConvertStringToStrArray(c.text, d, c.sep, c.keep);
        EXPECT_EQ(Texts(a), c.want) << (c.text ? c.text : "null");
        EXPECT_EQ(Texts(b), c.want);
        EXPECT_EQ(Texts(d), c.want);
    }
}

// The scanners against the sscanf-based procedure they replace, on random texts without
// the letters sscanf would read as hex, inf or nan, and short enough digit runs not to
// overflow.
TEST(ConvertStringToArray, MatchesSscanf)
{
    std::mt19937 rng(8);
    const char alphabet[] = "0123456789+-., ;a";
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        for (int n = int(rng() % 9); n > 0; --n)
            s += alphabet[rng() % (sizeof alphabet - 1)];
        std::vector<double> ints, dbls;
        for (const char* p = s.c_str();;) {
            while (*p && !strchr("0123456789+-", *p))
                ++p;
            if (!*p)
                break;
            int v;
            if (sscanf(p, "%d", &v) == 1)
                ints.push_back(v);
            for (++p; *p >= '0' && *p <= '9'; ++p) {}
        }
        for (const char* p = s.c_str();;) {
            while (*p && !strchr("0123456789+-.", *p))
                ++p;
            if (!*p)
                break;
            double v;
            if (sscanf(p, "%lf", &v) == 1)
                dbls.push_back(v);
            for (++p; *p && strchr("0123456789+-.eE", *p); ++p) {}
        }
        CArray<int, int> a;
        CArray<double, double> d;
        ConvertStringToIntArray(s.c_str(), a);
        ConvertStringToDblArray(s.c_str(), d, false);
        EXPECT_EQ(Values(a), ints) << s;
        EXPECT_EQ(Values(d), dbls) << s;
    }
}

} // namespace
