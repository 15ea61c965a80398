// The generator run by the module harness: its packets, type information and values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include <corekit80/modules/TCModuleHarness.h>
#include <corekit80/streams/TCTypeInfo.h>

#include "Generator.h"

namespace {

TEST(Generator, APacketOverTheBlockCountWithItsTypeInformation)
{
    const struct {
        const char* waveform;
        int blockSize, blockCount;
        const char* unit;
        std::string statuses;  // S START, B BUSY, P STOP, C COMPLETE
    } cases[] = {
        {"sine", 5, 4, "V", "SBBP"}, {"ramp", 3, 2, "m s^-2", "SP"}, {"noise", 7, 1, "", "C"},
        {"SINE", 1, 3, "A", "SBP"},
    };
    for (const auto& c : cases) {
        Generator g(0);
        g.settings.waveform = c.waveform;
        g.settings.rate = 200;
        g.settings.amplitude = 2.5;
        g.settings.frequency = 7;
        g.settings.blockSize = c.blockSize;
        g.settings.blockCount = c.blockCount;
        g.settings.signalName = "Probe";
        g.settings.unit = c.unit;
        TCModuleHarness host(g);
        ASSERT_EQ(host.Start(), 0) << c.waveform;
        EXPECT_EQ(host.Run(100), 2) << c.waveform;  // the source has finished
        ASSERT_EQ(host.OutputBlockCnt(0), c.blockCount);
        const double t0 = host.OutputTI(0, 0)->Timestamp;
        EXPECT_GT(t0, 0);
        for (int b = 0; b < c.blockCount; ++b) {
            const TCTypeInfo& ti = *host.OutputTI(0, b);
            EXPECT_EQ(ti.State, TCBLOCKSTATUS(std::string("SBPC").find(c.statuses[size_t(b)]))) << c.waveform << b;
            EXPECT_STREQ(ti.Name, "Probe");
            TCString unit;
            EXPECT_STREQ(ti.Unit.GetString(unit), c.unit);
            EXPECT_EQ(ti.Samplerate, 200);
            EXPECT_EQ(ti.Min, -2.5);
            EXPECT_EQ(ti.Max, 2.5);
            EXPECT_NEAR(ti.Timestamp - t0, b * c.blockSize * 5.0, 1e-3);  // 5 ms per sample
            const TCArray<double, double> v = host.OutputDoubles(0, b);
            ASSERT_EQ(v.GetSize(), c.blockSize);
            for (int i = 0; i < c.blockSize; ++i) {
                const double t = double(b * c.blockSize + i) / 200;
                const double phase = 7 * t - std::floor(7 * t);
                const double sine = 2.5 * std::sin(2 * std::numbers::pi * phase);
                if (c.waveform[0] == 'n')
                    EXPECT_TRUE(v[i] >= -2.5 && v[i] < 2.5) << v[i];
                else
                    EXPECT_NEAR(v[i], c.waveform[0] == 'r' ? 2.5 * (2 * phase - 1) : sine, 1e-12);
            }
        }
        EXPECT_TRUE(host.HostRecords().IsEmpty());
        host.Stop();
    }
}

// The sine turns by rotation from block to block and is set again from the sample number
// after a million samples: over more than that it stays on sin().
TEST(Generator, TheSineDoesNotDriftOverManyBlocks)
{
    Generator g(0);
    g.settings.rate = 48000;
    g.settings.frequency = 997;
    g.settings.amplitude = 1;
    g.settings.blockSize = 4096;
    g.settings.blockCount = 300;
    TCModuleHarness host(g);
    ASSERT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Run(1000), 2);
    ASSERT_EQ(host.OutputBlockCnt(0), 300);
    double worst = 0;
    for (int b = 0; b < 300; ++b) {
        const TCArray<double, double> v = host.OutputDoubles(0, b);
        for (int i = 0; i < v.GetSize(); ++i) {
            const double phase = double((997 * (b * 4096 + i)) % 48000) / 48000;  // exact
            worst = std::max(worst, std::abs(v[i] - std::sin(2 * std::numbers::pi * phase)));
        }
    }
    // The phase from a sample number near a million is itself good to about 1e-11.
    EXPECT_LT(worst, 2e-11);
    host.Stop();
}

TEST(Generator, NoiseRepeatsWithItsSeedAndRunsAgainAfterDone)
{
    auto noise = [](int seed) {
        Generator g(0);
        g.settings.waveform = "noise";
        g.settings.seed = seed;
        g.settings.blockCount = 1;
        TCModuleHarness host(g);
        EXPECT_EQ(host.Start(), 0);
        host.Run(5);
        const TCArray<double, double> v = host.OutputDoubles(0, 0);
        return std::vector<double>(v.GetData(), v.GetData() + v.GetSize());
    };
    EXPECT_EQ(noise(3), noise(3));
    EXPECT_NE(noise(3), noise(4));

    Generator endless(0);
    endless.settings.blockCount = 0;
    TCModuleHarness host(endless);
    ASSERT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Run(6), 0);  // still going
    ASSERT_EQ(host.OutputBlockCnt(0), 6);
    EXPECT_EQ(host.OutputTI(0, 0)->State, TCBS_START);
    EXPECT_EQ(host.OutputTI(0, 5)->State, TCBS_BUSY);
    host.Stop();

    Generator g(0);
    g.settings.blockCount = 2;
    for (int run = 0; run < 2; ++run) {
        TCModuleHarness host(g);
        ASSERT_EQ(host.Start(), 0);
        EXPECT_EQ(host.Run(10), 2);
        EXPECT_EQ(host.OutputBlockCnt(0), 2) << run;
        EXPECT_EQ(host.OutputTI(0, 0)->State, TCBS_START) << run;
    }
}

TEST(Generator, SettingsItCannotRunWithAreRefusedWithAText)
{
    const struct {
        void (*set)(Generator::Settings&);
        const char* text;
    } cases[] = {
        {[](Generator::Settings& s) { s.waveform = "square"; }, "unknown waveform 'square'"},
        {[](Generator::Settings& s) { s.rate = 0; }, "rate"},
        {[](Generator::Settings& s) { s.rate = NAN; }, "rate"},
        {[](Generator::Settings& s) { s.amplitude = INFINITY; }, "finite"},
        {[](Generator::Settings& s) { s.blockSize = 0; }, "block size"},
        {[](Generator::Settings& s) { s.blockSize = 1 << 30; }, "block size"},
        {[](Generator::Settings& s) { s.blockCount = -1; }, "block count"},
        {[](Generator::Settings& s) { s.unit = "furlong"; }, "unit 'furlong'"},
    };
    for (const auto& c : cases) {
        Generator g(0);
        c.set(g.settings);
        TCModuleHarness host(g);
        EXPECT_EQ(host.Start(), -3) << c.text;
        EXPECT_NE(std::string(host.ErrMsg()->text).find(c.text), std::string::npos) << host.ErrMsg()->text;
    }
}

}  // namespace
