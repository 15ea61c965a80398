// Tests of the powers-of-ten table, decimal exponents and stepwise scaling.
#include "corekit80/foundation/TCPowerOfTen.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "corekit80/foundation/TCPowerOfTenImpl.h"

namespace {

TEST(PowerOfTen, TableHoldsCorrectlyRoundedPowers)
{
    for (int e = -324; e <= 308; ++e)
        EXPECT_EQ(TCPow10(e), std::strtod(("1e" + std::to_string(e)).c_str(), nullptr)) << e;
    EXPECT_EQ(TCPow10(23), 1e23);
    EXPECT_EQ(TCPow10(-400), 0.0);
    EXPECT_EQ(TCPow10(400), 1e308);
}

TEST(PowerOfTen, DecimalExponentIsTheTableSearch)
{
    auto search = [](double x) {
        int e = -324;
        while (e < 308 && TCPow10(e + 1) <= x)
            ++e;
        return e;
    };
    std::mt19937_64 random(1);
    for (int i = 0; i < 20000; ++i) {
        double x = std::bit_cast<double>(random() % 0x7FF0000000000000ull);
        ASSERT_EQ(TCDecimalExponent(x), x > 0 ? search(x) : 0) << x;
    }
    for (int e = -323; e <= 308; ++e) {
        EXPECT_EQ(TCDecimalExponent(TCPow10(e)), e);
        EXPECT_EQ(TCDecimalExponent(std::nextafter(TCPow10(e), 0.0)), e - 1);
    }
    EXPECT_EQ(TCDecimalExponent(0.0), 0);
    EXPECT_EQ(TCDecimalExponent(5e-324), -324);
    EXPECT_EQ(TCDecimalExponent(1.7976931348623157e308), 308);
}

TEST(PowerOfTen, ScalesInStepsWithinRange)
{
    EXPECT_EQ(ExpMul(1.5, 3), 1500.0);
    EXPECT_EQ(ExpDiv(1500.0, 3), 1.5);
    EXPECT_EQ(ExpDiv(3.0, 1), 0.3);  // a division, not 3 × 0.1
    EXPECT_NEAR(ExpMul(5e-324, 330), 4.9406564584124654e6, 1e-9);  // 10^330 alone overflows
    EXPECT_NEAR(ExpDiv(1e300, 600), 1e-300, 1e-314);
    EXPECT_EQ(ExpMul(1e300, 100), HUGE_VAL);
    EXPECT_EQ(ExpMul(1.0, INT_MIN), 0.0);
    EXPECT_EQ(ExpDiv(-1.0, INT_MIN), -HUGE_VAL);
    EXPECT_EQ(ExpMul(1.0, INT_MAX), HUGE_VAL);
    EXPECT_TRUE(std::signbit(ExpMul(-0.0, 700)));
}

} // namespace
