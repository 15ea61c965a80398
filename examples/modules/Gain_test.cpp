// Gain run by the module harness: the factor, its bounds, and changes through EXT.
#include <gtest/gtest.h>

#include <cmath>

#include <corekit80/modules/TCModuleHarness.h>
#include <corekit80/streams/TCIOStream.h>
#include <corekit80/streams/TCTypeInfo.h>

#include "Gain.h"
#include "SampleDialog_test.h"

namespace {

constexpr unsigned kExt = 0, kIn = 2;

// A factor for EXT, as a module that sets parameters sends it.
int SendFactor(TCModuleHarness& host, double factor)
{
    return host.WriteWith(kExt, [factor](TCIOStream& s) {
        s.StartWriteSegments();
        s.WriteSegment("Factor", factor);
        return s.EndWriteSegments() ? 0 : -1;
    });
}

TEST(Gain, BlocksTimesTheFactorWithinItsBounds)
{
    const struct {
        double factor;
        double ext;  // sent at EXT after the first block; NAN: nothing sent
        double first, second;  // the factors applied to the two blocks
    } cases[] = {
        {2, NAN, 2, 2}, {-0.5, NAN, -0.5, -0.5}, {50, NAN, 10, 10},  // clamped to Maximum
        {2, 3, 2, 3},   {2, -40, 2, -4},         {2, 11, 2, 10},
    };
    const double v[] = {1, -2, 0.25};
    for (const auto& c : cases) {
        Gain gain(0);
        gain.Configure({c.factor, -4, 10});
        TCModuleHarness host(gain);
        if (std::isnan(c.ext))
            host.LeaveUnwired(PT_INPUT, kExt);
        ASSERT_EQ(host.Start(), 0) << c.factor;
        TCTypeInfo ti;
        ti.Name = "Probe";
        ti.Min = -2;
        ti.Max = 1;
        ti.State = TCBS_START;
        ASSERT_EQ(host.Write(kIn, v, 3, &ti), 0);
        host.Run(5);
        if (!std::isnan(c.ext)) {
            ASSERT_EQ(SendFactor(host, c.ext), 0);
        }
        ti.State = TCBS_STOP;
        ASSERT_EQ(host.Write(kIn, v, 3, &ti), 0);
        host.Run(5);
        ASSERT_EQ(host.OutputBlockCnt(0), 2) << c.factor << " " << c.ext;
        for (int b = 0; b < 2; ++b) {
            const double k = b ? c.second : c.first;
            const TCArray<double, double> out = host.OutputDoubles(0, b);
            ASSERT_EQ(out.GetSize(), 3);
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(out[i], v[i] * k) << c.factor << " " << c.ext << " " << b;
            const TCTypeInfo& got = *host.OutputTI(0, b);
            EXPECT_STREQ(got.Name, "Probe");
            EXPECT_EQ(got.State, b ? TCBS_STOP : TCBS_START);
            EXPECT_EQ(got.Min, std::min(-2 * k, k));
            EXPECT_EQ(got.Max, std::max(-2 * k, k));
        }
        EXPECT_EQ(gain.GetSettings().factor, c.factor);  // a factor from EXT is not a setting
        EXPECT_TRUE(host.HostRecords().IsEmpty());
        host.Stop();
    }
}

TEST(Gain, BoundsEditedInTheDialogHoldForTheFactorAtExt)
{
    Gain gain(0);
    gain.Configure({2, -4, 10});
    ASSERT_EQ(sample_test::ShownDialog(gain, {"Maximum = 20"}).result, 1);
    TCModuleHarness host(gain);
    ASSERT_EQ(host.Start(), 0);
    ASSERT_EQ(SendFactor(host, 15), 0);
    const double v = 1;
    ASSERT_EQ(host.Write(kIn, &v, 1, nullptr), 0);
    host.Run(5);
    ASSERT_EQ(host.OutputBlockCnt(0), 1);
    EXPECT_EQ(host.OutputDoubles(0, 0)[0], 15);  // not held at the old Maximum, 10
    host.Stop();
}

TEST(Gain, BadBoundsAndAnUnwiredInputAreRefused)
{
    {
        Gain crossed(0);
        crossed.Configure({1, 2, 1});
        TCModuleHarness host(crossed);
        EXPECT_EQ(host.Start(), -3);
        EXPECT_STRNE(host.ErrMsg()->text, "");
    }
    Gain unwired(0);
    TCModuleHarness host(unwired);
    host.LeaveUnwired(PT_INPUT, kIn);
    EXPECT_EQ(host.Start(), -3);
    EXPECT_EQ(host.ErrMsg()->port, int(kIn));
}

}  // namespace
