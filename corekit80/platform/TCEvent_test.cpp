// Tests of manual- and auto-reset TCEvent waits.
#include "corekit80/platform/TCEvent.h"

#include <gtest/gtest.h>

namespace {

TEST(TCEvent, ManualAndAutoReset)
{
    TCEvent manual;
    EXPECT_EQ(manual.Wait(0), TCEvent::WAIT_TIMEOUT);
    manual.Set();
    EXPECT_EQ(manual.Wait(0), TCEvent::WAIT_SIGNALLED);
    EXPECT_EQ(manual.Wait(TCEvent::INFINITE_WAIT), TCEvent::WAIT_SIGNALLED);
    manual.Reset();
    EXPECT_EQ(manual.Wait(1), TCEvent::WAIT_TIMEOUT);

    TCEvent automatic(false, true);
    EXPECT_EQ(automatic.Wait(0), TCEvent::WAIT_SIGNALLED);
    EXPECT_EQ(automatic.Wait(0), TCEvent::WAIT_TIMEOUT);
    EXPECT_EQ(TCEvent::Wait(nullptr, 0), TCEvent::WAIT_TIMEOUT);
}

} // namespace
