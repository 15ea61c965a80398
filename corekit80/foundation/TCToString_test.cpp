// Tests of ToString against printf and of the per-thread static text.
#include "corekit80/foundation/TCToString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

namespace {

TEST(ToString, MatchesPrintf)
{
    std::mt19937 random(80);
    char ours[16], theirs[16];
    for (unsigned v : {0u, 10u, 0xA00u, 0xFFFFFFFFu, 0x80000000u})
        EXPECT_STREQ(itoh(ours, v), (std::snprintf(theirs, sizeof theirs, "%x", v), theirs));
    for (int i = 0; i < 10000; ++i) {
        unsigned v = random() >> (random() % 32);
        ASSERT_STREQ(itoh(ours, v), (std::snprintf(theirs, sizeof theirs, "%x", v), theirs));
        int s = int(v) * (i % 2 ? 1 : -1);
        std::snprintf(theirs, sizeof theirs, "%d", s);
        ASSERT_STREQ(ToString(s), theirs);
        ASSERT_STREQ(ToStaticString(s), theirs);
    }
    EXPECT_STREQ(ToString(INT_MIN), "-2147483648");
    EXPECT_STREQ(ToString(true), "true");
    EXPECT_STREQ(ToString(false), "false");
}

TEST(ToString, StaticTextIsPerThread)
{
    const char* mine = ToStaticString(1);
    std::thread([] { EXPECT_STREQ(ToStaticString(2), "2"); }).join();
    EXPECT_STREQ(mine, "1");
}

} // namespace
