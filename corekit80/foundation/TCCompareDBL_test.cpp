// Tests of the double comparisons: examples, signed zeros, symmetry of the relations.
#include "corekit80/foundation/TCCompareDBL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

using C = TCCompareDBL;

TEST(CompareDBL, Examples)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(C::IsEqual(0.0, 0.0, false));
    EXPECT_TRUE(C::IsEqual(1.0, 1.0 + 0x1p-52, false));
    EXPECT_FALSE(C::IsEqual(1.0, 1.0 + 0x1p-50, false));
    EXPECT_FALSE(C::IsEqual(-1e-300, 1e-300, false));
    EXPECT_FALSE(C::IsEqual(0.0, -0.0, true));
    EXPECT_FALSE(C::IsEqual(1.0, 1.0 + 0x1p-52, true));
    EXPECT_FALSE(C::IsEqual(-1.7e308, 1.7e308, false));
    EXPECT_FALSE(C::IsEqual(1.0, HUGE_VAL, false));
    EXPECT_TRUE(C::IsEqual(HUGE_VAL, HUGE_VAL, false));
    EXPECT_FALSE(C::IsEqual(nan, nan, true));
    EXPECT_EQ(C::Compare(nan, nan), 0);
    EXPECT_EQ(C::Compare(nan, 1), -1);
    EXPECT_EQ(C::Compare(1, nan), 1);
    EXPECT_FALSE(C::IsGreaterOrEqual(nan, nan));
    double a = 1.0, b = 1.0 + 0x1p-52;
    C::MakeUnequal(a, b);
    EXPECT_EQ(a, 1.0 + 0x1p-23);
    EXPECT_EQ(b, 1.0 + 0x1p-52 - 0x1p-23);
    EXPECT_TRUE(C::IsGreater(a, b));
}

// Exactly compared, the zeros differ but neither is greater, so either order gives -1;
// tolerantly they are equal.
TEST(CompareDBL, SignedZeros)
{
    EXPECT_EQ(C::Compare(0.0, -0.0, true), -1);
    EXPECT_EQ(C::Compare(-0.0, 0.0, true), -1);
    EXPECT_EQ(C::Compare(0.0, -0.0, false), 0);
    EXPECT_EQ(C::Compare(-0.0, 0.0, false), 0);
    EXPECT_EQ(C::Compare(-0.0, -0.0, true), 0);
    EXPECT_FALSE(C::IsGreater(0.0, -0.0, true));
    EXPECT_FALSE(C::IsLess(0.0, -0.0, true));
    EXPECT_FALSE(C::IsGreaterOrEqual(-0.0, 0.0, true));
}

// Every relation seen from the other side, over neighbouring and special values.
TEST(CompareDBL, Symmetry)
{
    const double edges[] = {0.0, -0.0, 1.0, -1.0, 5e-324, -5e-324, HUGE_VAL, -HUGE_VAL,
                               std::numeric_limits<double>::quiet_NaN(), 1.7976931348623157e308};
    std::mt19937_64 random(80);
    std::uniform_real_distribution<double> uniform(-4, 4);
    for (int i = 0; i < 200000; ++i) {
        double a = i % 5 == 0 ? edges[random() % 10] : std::ldexp(uniform(random), int(random() % 64) - 32);
        double b = i % 7 == 0 ? edges[random() % 10] : a;
        for (int steps = int(random() % 5); steps > 0; --steps)
            b = std::nextafter(b, random() % 2 ? HUGE_VAL : -HUGE_VAL);
        for (bool exact : {false, true}) {
            ASSERT_EQ(C::IsEqual(a, b, exact), C::IsEqual(b, a, exact)) << a << " " << b;
            bool signedZeros = exact && a == b && std::signbit(a) != std::signbit(b);
            if (!signedZeros) {
                ASSERT_EQ(C::Compare(a, b, exact), -C::Compare(b, a, exact)) << a << " " << b;
            }
            ASSERT_EQ(C::IsGreater(a, b, exact), C::IsLess(b, a, exact));
            ASSERT_EQ(C::IsGreaterOrEqual(a, b, exact), C::IsLessOrEqual(b, a, exact));
            ASSERT_EQ(C::IsGreater(a, b, exact), C::Compare(a, b, exact) > 0 && a > b);
        }
    }
}

} // namespace
