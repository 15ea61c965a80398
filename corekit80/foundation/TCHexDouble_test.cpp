// Tests of the hexadecimal double text against printf's "%.13a", bit-exact round trips.
#include "corekit80/foundation/TCHexDouble.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

namespace {

uint64_t Bits(double v) { return std::bit_cast<uint64_t>(v); }

TEST(HexDouble, MatchesPrintfAndReadsBackBitExact)
{
    std::mt19937_64 random(80);
    char ours[32], theirs[32];
    for (int i = 0; i < 1500000; ++i) {
        uint64_t bits = random();
        if (i % 4 == 0)
            bits &= 0x800FFFFFFFFFFFFFull;  // subnormals, and ±0 in their midst
        if (i % 1000 == 1)
            bits &= 0x8000000000000000ull;
        double v = std::bit_cast<double>(bits);
        if (!std::isfinite(v))
            continue;
        DoubleToHexString(ours, 25, v);
        std::snprintf(theirs, sizeof theirs, "%.13a", v);
        ASSERT_STREQ(ours, theirs);
        char* end = nullptr;
        ASSERT_EQ(Bits(HexString2Double(ours, &end)), bits) << ours;
        ASSERT_EQ(*end, '\0');
    }
}

TEST(HexDouble, Examples)
{
    // Finite values are covered by the comparison with printf above.
    char text[32];
    EXPECT_STREQ(DoubleToHexString(text, 25, HUGE_VAL), "-1.#IND");
    EXPECT_STREQ(DoubleToHexString(text, 24, 1.0), "");
    EXPECT_EQ(HexString2Double("0X1.8P+1"), 3.0);
    EXPECT_EQ(HexString2Double("+0x1.8p1"), 3.0);
    EXPECT_EQ(HexString2Double("0x1.p-1"), 0.5);
}

TEST(HexDouble, RefusesOtherText)
{
    const char* bad[] = {
        "", "1.5", "0x2.0p+0", "0x1p+0", "0x1,0p+0", "0x1.0", "0x1.0q+0", "0x1.0p", "0x1.0p+",
        "0x1.00000000000000p+0", "0x1.0p+1024", "0x1.0p-1024", "0x0.8p-1023", "0x1.0p+99999999999999999999",
        " 0x1.0p+0", "--0x1.0p+0",
    };
    for (const char* s : bad) {
        char* end = nullptr;
        double v = HexString2Double(s, &end);
        EXPECT_TRUE(std::isnan(v) && std::signbit(v)) << s;
        EXPECT_EQ(end, s) << s;
    }
    EXPECT_TRUE(std::isnan(HexString2Double(nullptr)));
}

TEST(HexDouble, StringToDoubleReadsBothForms)
{
    char* end = nullptr;
    const char* s = "  -0x1.8000000000000p+1 rest";
    EXPECT_EQ(StringToDouble(s, &end), -3.0);
    EXPECT_STREQ(end, " rest");
    EXPECT_EQ(StringToDouble("2.5e3", nullptr), 2500.0);
    s = " 0x1.0q";
    EXPECT_TRUE(std::isnan(StringToDouble(s, &end)));
    EXPECT_EQ(end, s);
    s = "abc";
    EXPECT_EQ(StringToDouble(s, &end), 0.0);
    EXPECT_EQ(end, s);
    EXPECT_EQ(StringToDouble(nullptr, &end), 0.0);
    // A host locale with a decimal comma does not change the reading.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_EQ(StringToDouble("1.5", nullptr), 1.5);
        std::setlocale(LC_NUMERIC, "C");
    }
}

} // namespace
