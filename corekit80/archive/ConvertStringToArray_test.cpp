// Tests of the text-to-array conversions: integers, doubles and splitting.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "corekit80/archive/ConvertStringToArray.h"

namespace {

int Element(int v) { return v; }
double Element(double v) { return v; }
template <class S> std::string Element(const S& s) { return std::string((const char*)s, size_t(s.GetLength())); }

// Runs convert on an array of each type, holding a stale element first, and checks the
// count and the elements.
template <class... Arrays, class T, class F> void ExpectEach(const std::vector<T>& want, const char* text, F convert)
{
    auto check = [&](auto a) {
        a.SetSize(1);
        EXPECT_EQ(convert(a), int(want.size())) << (text ? text : "null");
        std::vector<T> got;
        for (int i = 0; i < a.GetSize(); ++i)
            got.push_back(Element(a[i]));
        EXPECT_EQ(got, want) << (text ? text : "null");
    };
    (check(Arrays()), ...);
}

TEST(ConvertStringToArray, Integers)
{
    struct { const char* text; std::vector<int> want; } cases[] = {
        {"[1, -2; +3]", {1, -2, 3}}, {"abc", {}}, {"1.5", {1, 5}}, {"1e3", {1, 3}},
        {"--5", {-5}}, {"- 4", {4}}, {"99999999999 -99999999999", {INT_MAX, INT_MIN}},
        {"", {}}, {nullptr, {}},
    };
    for (const auto& c : cases)
        ExpectEach<CArray<int, int>, TCArray<int, int>, TCArray<int, const int&>>(
            c.want, c.text, [&](auto& a) { return ConvertStringToIntArray(c.text, a); });
}

TEST(ConvertStringToArray, Doubles)
{
    struct { const char* text; bool comma; std::vector<double> want; } cases[] = {
        {"-.5 .25", false, {-0.5, 0.25}}, {"1.234,5", true, {1234.5}},
        {"1.5;2e-3", false, {1.5, 0.002}}, {"1,5", false, {1, 5}}, {"1.5-2.5", false, {1.5}},
        {"0x10 inf nan", false, {0, 10}}, {"5 V, 3e", false, {5, 3}}, {"- . +", false, {}},
        {"1e999", false, {HUGE_VAL}}, {nullptr, true, {}},
    };
    for (const auto& c : cases)
        ExpectEach<CArray<double, double>, TCArray<double, double>, TCArray<double, const double&>>(
            c.want, c.text, [&](auto& a) { return ConvertStringToDblArray(c.text, a, c.comma); });
}

TEST(ConvertStringToArray, Split)
{
    struct { const char* text; const char* sep; bool keep; std::vector<std::string> want; } cases[] = {
        {"a,,b,", ",", false, {"a", "", "b"}}, {"a,,b,", ",", true, {"a,", ",", "b,"}},
        {"x", "", false, {"x"}}, {nullptr, "", false, {""}}, {"", ",", false, {}},
        {nullptr, ",", false, {}}, {",a", ",", false, {"", "a"}}, {"a\nb", "\n", false, {"a", "b"}},
        {"a--b---c", "--", false, {"a", "b", "-c"}},
        // The separator's byte inside a multibyte character is no separator.
        {"\xC3\xA4\xA4x\xA4", "\xA4", false, {"\xC3\xA4", "x"}},
    };
    for (const auto& c : cases)
        ExpectEach<CStringArray, CArray<CString, CString&>, TCArray<TCString, const TCString&>>(
            c.want, c.text, [&](auto& a) { return ConvertStringToStrArray(c.text, a, c.sep, c.keep); });
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
        std::vector<int> ints;
        std::vector<double> dbls;
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
        ExpectEach<CArray<int, int>>(ints, s.c_str(), [&](auto& a) { return ConvertStringToIntArray(s.c_str(), a); });
        ExpectEach<CArray<double, double>>(dbls, s.c_str(),
                                           [&](auto& a) { return ConvertStringToDblArray(s.c_str(), a, false); });
    }
}

} // namespace
