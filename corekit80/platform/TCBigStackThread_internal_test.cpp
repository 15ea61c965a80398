// Tests that TCBigStackThread runs deep recursion and refuses a stack it cannot map.
#include "corekit80/platform/TCBigStackThreadImpl.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Recursion that needs about depth kilobytes of stack.
int Deep(int depth)
{
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    return depth == 0 ? frame[0] : Deep(depth - 1) + frame[0] - frame[0] + 1;
}

TEST(TCBigStackThread, RunsDeepRecursionAndReportsFailure)
{
    int result = -1;
    // 64 MB of recursion, far beyond an ordinary thread's stack.
    EXPECT_TRUE(TCBigStackThread::Run(size_t(256) << 20, [&] { result = Deep(64 * 1024); }));
    EXPECT_EQ(result, 64 * 1024);

    bool ran = false;
    EXPECT_FALSE(TCBigStackThread::Run(SIZE_MAX - 4096, [&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(TCBigStackThread::Run(0, [&] { ran = true; }));
    EXPECT_TRUE(ran);
}

} // namespace
