// Statistics run by the module harness, against the values computed here in long double.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include <corekit80/modules/TCModuleHarness.h>
#include <corekit80/streams/TCIOStream.h>
#include <corekit80/streams/TCTypeInfo.h>

#include "Statistics.h"

namespace {

constexpr unsigned kBlock = 0, kPacket = 1, kText = 2, kOut = 3;

void ExpectStatistics(const TCArray<double, double>& got, const std::vector<double>& values, const char* what)
{
    ASSERT_EQ(got.GetSize(), 4) << what;
    long double sum = 0, squares = 0, min = values[0], max = values[0];
    for (double v : values) {
        sum += v;
        squares += (long double)v * v;
        min = std::min<long double>(min, v);
        max = std::max<long double>(max, v);
    }
    const long double n = values.size();
    const double expected[4] = {double(sum / n), double(min), double(max), double(std::sqrt(squares / n))};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-12 * (1 + std::fabs(expected[i]))) << what << " " << i;
}

TEST(Statistics, BlocksAndPacketsAgainstADirectComputation)
{
    // Statuses of the blocks in order: two packets of three and one of one block.
    const TCBLOCKSTATUS marks[] = {TCBS_START, TCBS_BUSY, TCBS_STOP, TCBS_COMPLETE, TCBS_START, TCBS_BUSY, TCBS_STOP};
    Statistics stats(0);
    TCModuleHarness host(stats);
    ASSERT_EQ(host.Start(), 0);
    std::mt19937 rng(11);
    std::vector<double> packet;
    int packets = 0;
    for (TCBLOCKSTATUS mark : marks) {
        std::vector<double> values(1 + rng() % 50);
        for (double& v : values)
            v = std::ldexp(double(int(rng() % 20001) - 10000), -int(rng() % 12));
        TCTypeInfo ti;
        ti.Name = "Probe";
        ti.Samplerate = 100;
        ti.State = mark;
        ASSERT_EQ(host.Write(0, values.data(), int(values.size()), &ti), 0);
        host.Run(5);
        if (mark == TCBS_START || mark == TCBS_COMPLETE)
            packet.clear();
        packet.insert(packet.end(), values.begin(), values.end());
        ExpectStatistics(host.OutputDoubles(kBlock, 0), values, "block");
        EXPECT_EQ(host.OutputTI(kBlock, 0)->State, mark);
        EXPECT_EQ(host.OutputTI(kBlock, 0)->Samplerate, 100.0 / double(values.size()));
        EXPECT_EQ(host.OutputDoubles(kOut, 0).GetSize(), int(values.size()));  // passed on
        const bool ends = mark == TCBS_STOP || mark == TCBS_COMPLETE;
        ASSERT_EQ(host.OutputBlockCnt(kPacket), ends ? 1 : 0);
        ASSERT_EQ(host.OutputBlockCnt(kText), 1);
        const TCArray<TCString> lines = host.OutputTexts(kText, 0);
        ASSERT_EQ(lines.GetSize(), ends ? 2 : 1);  // the block's line, and the packet's
        EXPECT_EQ(std::string(lines[0]).rfind("Probe block ", 0), 0u);
        if (ends) {
            ++packets;
            ExpectStatistics(host.OutputDoubles(kPacket, 0), packet, "packet");
            EXPECT_EQ(host.OutputTI(kPacket, 0)->State, TCBS_COMPLETE);
            EXPECT_EQ(std::string(lines[1]).rfind("Probe packet of ", 0), 0u);
            ASSERT_EQ(host.ModuleMessages().GetSize(), packets);  // the host is told too
            EXPECT_EQ(host.ModuleMessages()[packets - 1].text, lines[1]);
        }
        // A reader takes the blocks: a new packet goes out only after the last one was taken.
        for (unsigned out : {kBlock, kPacket, kText, kOut})
            host.Collector(out)->RemoveContents(true);
    }
    EXPECT_EQ(packets, 3);
    EXPECT_TRUE(host.HostRecords().IsEmpty());
    host.Stop();
}

TEST(Statistics, TheLineOfAKnownBlock)
{
    Statistics stats(2);
    stats.settings.reportPackets = 0;
    TCModuleHarness host(stats);
    ASSERT_EQ(host.Start(), 0);
    const double v[] = {3, -4, 3, -4};
    TCTypeInfo ti;
    ti.Name = "Sine";
    ti.State = TCBS_COMPLETE;
    host.Write(0, v, 4, &ti);
    host.Run(5);
    ASSERT_EQ(host.OutputTexts(kText, 0).GetSize(), 2);
    EXPECT_STREQ(host.OutputTexts(kText, 0)[1], "Sine packet of 1 block: 4 values, mean -0.5, min -4, max 3, rms 3.53553");
    EXPECT_TRUE(host.ModuleMessages().IsEmpty());
    host.Stop();
}

}  // namespace
