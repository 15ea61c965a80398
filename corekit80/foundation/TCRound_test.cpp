// Tests of halves away from zero and directed rounding.
#include "corekit80/foundation/TCRound.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(Round, HalvesAwayFromZeroAndDirected)
{
    EXPECT_EQ(Round(-2.5), -3);
    EXPECT_EQ(Round(2.5), 3);
    EXPECT_EQ(Round(-0.4), 0);
    EXPECT_EQ(Round(1e10), INT_MAX);
    EXPECT_EQ(Round(-1e10), INT_MIN);
    EXPECT_EQ(Round(-2147483648.4), INT_MIN);
    EXPECT_EQ(Round(NAN), 0);
    struct Case { double (*f)(double, int); double v; int digits; double r; };
    const Case cases[] = {
        {Round, -2.25, 1, -2.3}, {Round, 2.25, 1, 2.3}, {Round, 1234.5, -2, 1200.0},
        {Round0, -1.25, 1, -1.3}, {Round0, 1.29, 1, 1.2}, {Round0, 1299.0, -2, 1200.0},
        {Round1, 1.21, 1, 1.3}, {Round1, -1.29, 1, -1.2}, {Round1, 1201.0, -2, 1300.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(c.f(c.v, c.digits), c.r) << c.v << " " << c.digits;
}

} // namespace
