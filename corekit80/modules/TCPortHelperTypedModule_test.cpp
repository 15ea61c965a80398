// A module that uses the typed reads and writes, run by the module harness.
#include <gtest/gtest.h>

#include <random>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

// Scales each block of doubles at input 0 onto output 0, which follows the input's type
// information; counts the texts of input 1 onto output 1 as one integer.
class Scale : public TCBaseModule {
public:
    explicit Scale(double gain) : TCBaseModule(0), m_gain(gain)
    {
        m_pPortHelper = new TCPortHelper(this);
        m_pPortHelper->SetPort(PT_INPUT, 0, "Signal", "DOUBLE[]", nullptr, true);
        m_pPortHelper->SetPort(PT_INPUT, 1, "Words", "UBYTE[][]", nullptr, false);
        m_pPortHelper->SetPort(PT_OUTPUT, 0, "Scaled", "DOUBLE[]", nullptr, true);
        m_pPortHelper->SetPort(PT_OUTPUT, 1, "Count", "SWORD", nullptr, false);
        m_pPortHelper->UseTypeInfoFromInput(0, 0);
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Scale"; }

    int Fetch() override
    {
        const int r = TCBaseModule::Fetch();
        if (r != 0)
            return r;
        TCPortHelper& h = *m_pPortHelper;
        if (h.ReadDblArray(0, m_values) > 0) {
            for (double& v : m_values)
                v *= m_gain;
            if (h.WriteDblArray(0, m_values) < 0)
                return -2;
        }
        if (h.BlocksOnStream(PT_INPUT, 1) > 0 && h.ReadStringArray(1, m_words) >= 0 &&
            h.WriteIntVal(1, m_words.GetSize()) < 0)
            return -2;
        return 0;
    }

private:
    double m_gain;
    TCArray<double, double> m_values;
    TCArray<TCString> m_words;
};

TEST(TCPortHelperTypedModule, PacketsPassThroughWithTheirMarksAndValues)
{
    Scale module(2.5);
    TCModuleHarness host(module);
    ASSERT_EQ(host.Start(), 0);
    std::mt19937 rng(5);
    const TCBLOCKSTATUS marks[] = {TCBS_START, TCBS_BUSY, TCBS_BUSY, TCBS_STOP, TCBS_COMPLETE};
    for (TCBLOCKSTATUS mark : marks) {
        double v[16];
        const int n = 1 + int(rng() % 16);
        for (int i = 0; i < n; ++i)
            v[i] = double(int(rng() % 2001) - 1000) / 8;
        TCTypeInfo ti;
        ti.Name = "Probe";
        ti.Samplerate = 100;
        ti.State = mark;
        ASSERT_EQ(host.Write(0, v, n, &ti), 0);
        host.Run(4);
        ASSERT_EQ(host.OutputBlockCnt(0), 1);
        const TCArray<double, double> out = host.OutputDoubles(0, 0);
        ASSERT_EQ(out.GetSize(), n);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(out[i], v[i] * 2.5);
        const TCTypeInfo* got = host.OutputTI(0, 0);
        ASSERT_NE(got, nullptr);
        EXPECT_EQ(got->State, mark);
        EXPECT_STREQ(got->Name, "Probe");
        EXPECT_EQ(got->Samplerate, 100);
        host.Collector(0)->RemoveContents(true);
    }
    EXPECT_EQ(host.OutputBlockCnt(1), 0);  // no texts, no count
    EXPECT_EQ(host.ErrMsg()->code, 0);
    EXPECT_TRUE(host.HostRecords().IsEmpty());
    host.Stop();
}

TEST(TCPortHelperTypedModule, TextsAreCountedIntoASingleValue)
{
    Scale module(1);
    TCModuleHarness host(module);
    ASSERT_EQ(host.Start(), 0);
    const int written = host.WriteWith(1, [](TCIOStream& s) {
        const TCString words[] = {TCString("a"), TCString("b"), TCString("c")};
        return s.WriteStrVec(words, 3);
    });
    ASSERT_EQ(written, 0);
    host.Run(4);
    ASSERT_EQ(host.OutputBlockCnt(1), 1);
    const TCArray<int, int> count = host.OutputInts(1, 0);
    ASSERT_EQ(count.GetSize(), 1);
    EXPECT_EQ(count[0], 3);
    host.Stop();
}

}  // namespace
