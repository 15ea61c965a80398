// Tests that TCSystemTime follows the wall clock monotonically and busy waits last.
#include "corekit80/foundation/TCSystemTime.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "corekit80/platform/TCClockImpl.h"

namespace {

// The calibrated time stays with the wall clock and never runs backwards, on any thread.
TEST(TCSystemTime, FollowsWallClockMonotonically)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            double last = TCSystemTime();
            EXPECT_NEAR(last, double(TCClockReal()) / 1e6, 1000.0);
            for (int i = 0; i < 10000; ++i) {
                const double now = TCSystemTime();
                ASSERT_GE(now, last);
                last = now;
            }
        });
    for (auto& t : threads)
        t.join();
}

TEST(TCSystemTime, BusyWaitingSpinsAtLeastTheTime)
{
    EXPECT_GE(TCBusyWaiting(0.3), 0.3);
    EXPECT_GE(TCBusyWaiting(-1), 0);
}

} // namespace
