// Tests of the stopwatches and TCWaitTimeout on a scripted counter, and waits on events.
#include "corekit80/foundation/TCExactTimeDiffPeriodic.h"
#include "corekit80/foundation/TCWaitTimeout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "corekit80/platform/TCClockImpl.h"
#include "corekit80/platform/TCEvent.h"

namespace {

// A counter that moves only when the test moves it; the stopwatch classes read it
// instead of the monotonic clock.
int64_t g_ticks = 1000;
int64_t ScriptedCounter() { return g_ticks; }
void AdvanceMs(double ms) { g_ticks += int64_t(std::llround(ms * 1e6)); }

class ScriptedClock : public ::testing::Test {
protected:
    void SetUp() override { m_previous = TCClockSetCounterSource(ScriptedCounter); }
    void TearDown() override { TCClockSetCounterSource(m_previous); }

private:
    TCCounterSource m_previous = nullptr;
};

TEST_F(ScriptedClock, PeriodsOfOneTwoThree)
{
    TCExactTimeDiffPeriodic p;
    for (double ms : {1.0, 2.0, 3.0}) {
        p.Start();
        AdvanceMs(ms);
        EXPECT_DOUBLE_EQ(p.Stop(), ms);
        EXPECT_FALSE(p.Running());
    }
    EXPECT_EQ(p.GetCount(), 3);
    EXPECT_DOUBLE_EQ(p.GetSum(), 6);
    EXPECT_DOUBLE_EQ(p.GetAvr(), 2);
    EXPECT_DOUBLE_EQ(p.GetMax(), 3);
    // The running variance: 0, then 0.125, then 2/3 * 0.125 + 1/3.
    EXPECT_DOUBLE_EQ(p.GetStabw(), std::sqrt(0.125 * 2 / 3 + 1.0 / 3));
    // A stop without a start measures nothing.
    EXPECT_EQ(p.Stop(), 0);
    EXPECT_EQ(p.GetCount(), 3);
    p.Reset();
    EXPECT_EQ(p.GetCount(), 0);
    EXPECT_EQ(p.GetSum() + p.GetAvr() + p.GetMax() + p.GetStabw(), 0);
}

TEST_F(ScriptedClock, RestAndExpiry)
{
    TCWaitTimeout w(100.0, 50);
    AdvanceMs(80);
    EXPECT_DOUBLE_EQ(w.GetExpired(), 80);
    EXPECT_DOUBLE_EQ(w.GetRest(), 20);
    // 50 ms asked with 20 ms left sleeps the 20 ms only (the real clock shows at least that).
    const int64_t before = TCClockMonotonic();
    EXPECT_TRUE(w.Sleep(50));
    EXPECT_GE(TCClockMonotonic() - before, 20 * 1000000);
    EXPECT_TRUE(w.Sleep(0));
    AdvanceMs(20);
    EXPECT_FALSE(w.Sleep(-1));
    EXPECT_FALSE(w.Sleep(1000));
    w.Set(30);
    EXPECT_DOUBLE_EQ(w.GetTimeout(), 30);
    EXPECT_DOUBLE_EQ(w.GetRest(), 30);
    EXPECT_FALSE(TCWaitTimeout().Sleep(-1));
}

TEST_F(ScriptedClock, WaitNeedsAnEventAndTimeLeft)
{
    TCEvent event;
    event.Set();
    TCWaitTimeout w(10.0, &event); // the event is reset
    EXPECT_FALSE(event.IsSet());
    unsigned long result = 99;
    event.Set();
    EXPECT_TRUE(w.Wait(nullptr, &result));
    EXPECT_EQ(result, 0u);

    TCWaitTimeout noEvent(10.0, 1);
    EXPECT_FALSE(noEvent.Wait());
    TCEvent other(true, true);
    EXPECT_TRUE(noEvent.Wait(&other));

    AdvanceMs(10);
    result = 99;
    EXPECT_FALSE(w.Wait(nullptr, &result));
    EXPECT_EQ(result, 99u);
}

TEST(TCWaitTimeout, WaitTimesOutOrIsSignalled)
{
    TCEvent event(false);
    unsigned long result = 0;
    TCWaitTimeout shortWait(50.0, &event);
    EXPECT_FALSE(shortWait.Wait(nullptr, &result));
    EXPECT_EQ(result, TCEvent::WAIT_TIMEOUT);

    TCWaitTimeout longWait(60000.0, &event);
    std::thread setter([&event] { event.Set(); });
    EXPECT_TRUE(longWait.Wait(nullptr, &result));
    EXPECT_EQ(result, TCEvent::WAIT_SIGNALLED);
    setter.join();
    EXPECT_FALSE(event.IsSet()); // auto-reset: the wait took the signal
}

} // namespace
