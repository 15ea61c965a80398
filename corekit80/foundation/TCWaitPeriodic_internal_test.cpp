// Tests that periodic waits reach their grid points, and of period changes and restarts.
#include "corekit80/foundation/TCWaitPeriodic.h"

#include <gtest/gtest.h>

#include "corekit80/platform/TCClockImpl.h"

namespace {

// Grid points are never reached early: after n waits on a fixed grid at least n periods
// have passed since the start, with or without the final spin.
TEST(TCWaitPeriodic, WaitsReachTheGridPoints)
{
    for (bool busy : {false, true}) {
        TCWaitPeriodic w(2.0);
        const int64_t start = w.Start();
        double waited = 0;
        for (int i = 0; i < 3; ++i) {
            const double ms = w.Wait(TCWaitPeriodic::MODE_FIXED, busy);
            EXPECT_GE(ms, 0);
            waited += ms;
        }
        EXPECT_GE(TCClockMonotonic() - start, 3 * 2000000) << busy;
        EXPECT_GT(waited, 0);
    }
}

TEST(TCWaitPeriodic, PeriodAndRestart)
{
    TCWaitPeriodic w;
    EXPECT_EQ(w.GetWaitTime(), 1.0);
    w.SetWaitTime(-5);
    EXPECT_EQ(w.GetWaitTime(), 1.0);
    w.Start(3.0);
    EXPECT_EQ(w.GetWaitTime(), 3.0);
    w.Stop();
    // A wait after Stop starts a new grid first and keeps the period.
    const int64_t before = TCClockMonotonic();
    w.Wait(TCWaitPeriodic::MODE_RESYNC);
    EXPECT_GE(TCClockMonotonic() - before, 3000000);
    EXPECT_EQ(w.GetWaitTime(), 3.0);
}

} // namespace
