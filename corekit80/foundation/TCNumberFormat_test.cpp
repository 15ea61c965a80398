// Tests of ftoa: examples, golden vectors, longest texts and agreement with printf.
#include "corekit80/foundation/TCNumberFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

namespace {

std::string Ftoa(double v, StringFormat f, int precision, int width = 0, bool comma = false,
                 const char* unit = nullptr)
{
    char buffer[1024];
    int n = ftoa(v, buffer, f, comma, unit, width, precision);
    EXPECT_EQ(size_t(n), std::strlen(buffer));
    return buffer;
}

std::string TestData(const char* name)
{
    const char* dir = std::getenv("CK80_TEST_DATA");
    return (dir ? std::string(dir) : std::filesystem::path(__FILE__).parent_path().string() + "/../../tests/data") +
           "/" + name;
}

TEST(Ftoa, Examples)
{
    struct Case { double v; StringFormat f; int precision; const char* text; int width = 0; bool comma = false;
                  const char* unit = nullptr; };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = HUGE_VAL;
    const Case cases[] = {
        {1234.5678, SF_FIXED, 2, "1234.57"},                  {1234.5678, SF_FIXED, 2, "1234,57", 0, true},
        {1234.5678, SF_FIXED, 2, "   1234.57 V", 10, false, " V"},
        {1234.5678, SF_SCIENTIFIC, 3, "1.235e+003"},          {999999, SF_SCIENTIFIC, 2, "1.00e+006"},
        {-1234.5678, SF_SCIENTIFIC, 3, " -1.235e+003", 12},   {1234.5678, SF_SCIENTIFIC, -4, "1e+003"},
        {0.0, SF_SCIENTIFIC, 2, "0.00e+000"},                 {0.000123, SF_SIGNIFICANT, 3, "0.000123"},
        {0.0000123, SF_SIGNIFICANT, 3, "1.23e-005"},          {100, SF_SIGNIFICANT, 6, "100"},
        {9.9996, SF_SIGNIFICANT, 4, "10"},                    {0.5, SF_AUTO, 0, "0.5"},
        {12345678901.0, SF_AUTO, 0, "12345678901"},           {123456789012.0, SF_AUTO, 0, "1.23457e+011"},
        {1e-6, SF_AUTO, 0, "1e-006"},                         {1e-5, SF_AUTO, 0, "0.00001"},
        {-0.001, SF_FIXED, 2, "-0.00"},                       {-0.0, SF_FIXED, 2, "0.00"},
        {12345, SF_FIXED, -2, "12300"},                       {12345, SF_FIXED, -6, "0"},
        {1e20, SF_FIXED, 2, "100000000000000000000.00"},
        {0.125, SF_FIXED, 2, "0.13"}, {-2.5, SF_FIXED, 0, "-3"},  // halves away from zero
        {5e-324, SF_SCIENTIFIC, 3, "4.941e-324"},
        {1e-323, SF_SCIENTIFIC, 3, "9.881e-324"},  // table power above the exact one
        {inf, SF_FIXED, 2, "inf", 20, false, " V"},           {-inf, SF_AUTO, 2, "-inf"},
        {nan, SF_SCIENTIFIC, 2, std::signbit(nan) ? "-nan" : "nan"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ftoa(c.v, c.f, c.precision, c.width, c.comma, c.unit), c.text) << c.v << " " << c.f;
}

TEST(Ftoa, LongestTextsFitTheCallersBuffer)
{
    for (StringFormat f : {SF_FIXED, SF_SCIENTIFIC, SF_SIGNIFICANT, SF_AUTO})
        for (double v : {-1.7976931348623157e308, -5e-324})
            for (int precision : {INT_MIN, INT_MAX})
                for (int width : {INT_MIN, INT_MAX})
                    EXPECT_LE(Ftoa(v, f, precision, width, false, "123456789012345678901234567890").size(), 1023u);
    EXPECT_EQ(Ftoa(1.5, SF_FIXED, 400), "1.5" + std::string(339, '0'));
}

// The formatting steps written out independently with exact arithmetic (tools/).
TEST(Ftoa, GoldenVectors)
{
    std::ifstream in(TestData("ftoa_golden.tsv"));
    ASSERT_TRUE(in) << TestData("ftoa_golden.tsv");
    int count = 0;
    for (std::string line, bits, expected; std::getline(in, line); ++count) {
        std::istringstream fields(line);
        int f, precision, width, comma;
        fields >> bits >> f >> precision >> width >> comma;
        fields.get();
        std::getline(fields, expected);
        const double v = std::bit_cast<double>(std::stoull(bits, nullptr, 16));
        ASSERT_EQ(Ftoa(v, StringFormat(f), precision, width, comma != 0), expected) << line;
    }
    EXPECT_GT(count, 2000);
}

// printf's exact digits, with its exponent written in three digits.
std::string Printf(double v, bool scientific, int decimals)
{
    char text[512];
    std::snprintf(text, sizeof text, scientific ? "%.*e" : "%.*f", decimals, v);
    std::string s = text;
    size_t e = s.find('e');
    if (e != std::string::npos)
        s = s.substr(0, e + 2) + std::string(5 - (s.size() - e), '0') + s.substr(e + 2);
    return s;
}

// Rounding at a (near) tie is the one place where ftoa may differ from printf: ftoa
// rounds the double product x * 10^d half away from zero, printf the exact value to even.
bool NearTie(double v, bool scientific, int decimals)
{
    std::string more = Printf(v, scientific, decimals + 20);
    size_t at = more.find('.') + 1 + size_t(decimals);
    std::string next = more.substr(at, 5);
    return next == "50000" || next == "49999";
}

TEST(Ftoa, MatchesPrintfUpToTenSignificantDigits)
{
    std::mt19937_64 random(80);
    int compared = 0;
    for (int i = 0; i < 300000; ++i) {
        bool scientific = i % 2 != 0;
        // Magnitudes 1e-30..1e30 for fixed, the whole range with subnormals for scientific.
        uint64_t field = scientific ? random() % 2047 : 924 + random() % 200;
        double v = std::bit_cast<double>(field << 52 | (random() >> 12) | (random() & 1) << 63);
        int digits = 1 + int(random() % 10);
        int decimals = scientific ? digits - 1 : digits - 1 - int(std::floor(std::log10(std::fabs(v))));
        if (decimals < 0 || NearTie(v, scientific, decimals))
            continue;
        ASSERT_EQ(Ftoa(v, scientific ? SF_SCIENTIFIC : SF_FIXED, decimals), Printf(v, scientific, decimals))
            << std::hexfloat << v;
        ++compared;
    }
    EXPECT_GT(compared, 200000);
}

} // namespace
