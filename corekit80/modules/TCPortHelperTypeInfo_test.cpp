// Type information of outputs: automatic fields, fields followed from inputs, and type
// information written without data.
#include <gtest/gtest.h>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using H = TCPortHelper;

// A helper with inputs 0 (with type information) and 1 (without), fed by sources, and
// output 0 collected downstream.
struct Through {
    Through() : h(nullptr)
    {
        h.SetPort(PT_INPUT, 0, "In", "DOUBLE[]", nullptr, true);
        h.SetPort(PT_INPUT, 1, "Plain", "DOUBLE[]", nullptr, false);
        h.SetPort(PT_OUTPUT, 0, "Out", "DOUBLE[]", nullptr, true);
        for (unsigned i = 0; i < 2; ++i)
            sources[i].AddOutputStream(static_cast<TCIOStream*>(h.SetInputStream(i, 0, 3)));
        h.AddOutputStream(0, collector.SetInputStream(3));
    }
    ~Through()
    {
        for (TCIOStream& s : sources)
            s.DeleteStreams();
        h.DeleteStreams();
        collector.DeleteStreams();
    }
    // A block at input i with ti (none for null).
    void Feed(unsigned i, const TCTypeInfo* ti)
    {
        if (ti)
            ASSERT_EQ(sources[i].SetTI(ti, false), 0);
        const double v = 1;
        ASSERT_EQ(sources[i].WriteDblVec(&v, 1), 0);
    }
    // Reads input i and writes one block; the type information it carries downstream.
    TCTypeInfo PassOn(unsigned i)
    {
        double v = 0;
        EXPECT_EQ(h.ReadDblLastVal(i, v, false), 1);
        EXPECT_EQ(h.WriteDblVal(0, v), 1);
        TCTypeInfo got;
        EXPECT_EQ(collector.RemoveBlock(true), 1);
        if (const TCTypeInfo* ti = collector.GetTI())
            got = *ti;
        return got;
    }
    H h;
    TCIOStream sources[2];
    TCIOStream collector;
};

TCTypeInfo SourceInfo(TCBLOCKSTATUS state)
{
    TCTypeInfo ti;
    ti.Name = "Src";
    ti.Timestamp = 777;
    ti.Samplerate = 250;
    ti.Min = -5;
    ti.Max = 5;
    ti.State = state;
    EXPECT_TRUE(ti.Unit.FromString("V"));
    return ti;
}

TEST(TCPortHelperTypeInfo, AFollowingOutputCopiesTheFieldsItDoesNotFill)
{
    Through t;
    t.h.UseTypeInfoFromInput(0, 0);
    const TCTypeInfo src = SourceInfo(TCBS_START);
    t.Feed(0, &src);
    TCTypeInfo got = t.PassOn(0);
    EXPECT_STREQ(got.Name, "Src");
    EXPECT_EQ(got.Timestamp, 777);
    EXPECT_EQ(got.Samplerate, 250);
    EXPECT_EQ(got.Min, -5);
    EXPECT_EQ(got.Max, 5);
    EXPECT_TRUE(got.Unit == src.Unit);
    EXPECT_EQ(got.State, TCBS_START);

    // A set field wins; the others still follow, the status too.
    t.h.SetTI_SignalName(0, "Mine");
    const TCTypeInfo next = SourceInfo(TCBS_BUSY);
    t.Feed(0, &next);
    got = t.PassOn(0);
    EXPECT_STREQ(got.Name, "Mine");
    EXPECT_EQ(got.State, TCBS_BUSY);
    EXPECT_EQ(got.Samplerate, 250);

    // Automatic fields are filled by the output again.
    t.h.UseAutoTypeInfo(0, true, false, true, false, false, false);
    t.h.SetTI_SignalName(0, nullptr);  // set flags stay: the name stays set, now empty
    t.Feed(0, &next);
    got = t.PassOn(0);
    EXPECT_EQ(got.Timestamp, t.h.SyncTime());
    EXPECT_STREQ(got.Name, "");
    EXPECT_EQ(got.Samplerate, 250);
}

TEST(TCPortHelperTypeInfo, AnOutputFollowsTheInputReadLast)
{
    Through t;
    const unsigned both[] = {1, 0};
    t.h.UseTypeInfoFromInputs(0, both, 2);
    const TCTypeInfo src = SourceInfo(TCBS_COMPLETE);
    t.Feed(0, &src);
    t.Feed(1, nullptr);
    EXPECT_EQ(t.PassOn(0).Samplerate, 250);
    // An input without type information leaves the pending values: those of the last block.
    t.h.SetTI_Samplerate(0, 12);
    EXPECT_EQ(t.PassOn(1).Samplerate, 12);
    // A peek at an input makes it the followed one; its last type information is copied.
    t.Feed(0, &src);
    EXPECT_EQ(t.h.PeekTypeInfo(0, nullptr), TCBS_COMPLETE);
    const double v = 3;
    ASSERT_EQ(t.h.WriteDblVal(0, v), 1);
    ASSERT_EQ(t.collector.RemoveBlock(true), 1);
    ASSERT_NE(t.collector.GetTI(), nullptr);
    EXPECT_STREQ(t.collector.GetTI()->Name, "Src");
    // So does a trigger read, with the type information of the block it takes.
    t.h.ClearStream(0, true);
    t.Feed(1, nullptr);
    t.PassOn(1);
    TCTypeInfo other = SourceInfo(TCBS_COMPLETE);
    other.Name = "Other";
    t.Feed(0, &other);
    EXPECT_EQ(t.h.ReadTrigger(0, false), 1);
    ASSERT_EQ(t.h.WriteDblVal(0, v), 1);
    ASSERT_EQ(t.collector.RemoveBlock(true), 1);
    ASSERT_NE(t.collector.GetTI(), nullptr);
    EXPECT_STREQ(t.collector.GetTI()->Name, "Other");
}

TEST(TCPortHelperTypeInfo, WithoutFollowingOrAutomaticFieldsThePendingValuesGo)
{
    Through t;
    t.h.UseAutoTypeInfo(0, false, false, false, false, false, false);
    t.Feed(0, nullptr);
    const TCTypeInfo got = t.PassOn(0);
    EXPECT_STREQ(got.Name, "");
    EXPECT_EQ(got.State, TCBS_COMPLETE);  // INVALID made valid
    EXPECT_GT(got.Timestamp, 0);          // 0 made valid: the current time
    EXPECT_EQ(got.Samplerate, 1.0);
}

TEST(TCPortHelperTypeInfo, TypeInformationAloneReachesTheNextBlock)
{
    Through t;
    t.h.SetTI_SignalName(0, "Alone");
    EXPECT_EQ(t.h.WriteTypeInfo(0), 0);
    EXPECT_EQ(t.collector.GetBlockCnt(nullptr), 0);  // no block without data
    EXPECT_EQ(t.h.WriteDblVal(0, 2), 1);
    EXPECT_EQ(t.collector.GetBlockCnt(nullptr), 1);
    ASSERT_NE(t.collector.PeekTI(), nullptr);
    EXPECT_STREQ(t.collector.PeekTI()->Name, "Alone");
    // The queued COMPLETE block closes a packet: more type information is refused.
    EXPECT_EQ(t.h.WriteTypeInfo(0), -18);
    EXPECT_EQ(t.h.GetErrMsg().code, -18);
    EXPECT_EQ(t.h.FailedFan(0), 0);

    H plain(nullptr);
    plain.SetPort(PT_OUTPUT, 0, "Out", "DOUBLE[]", nullptr, false);
    TCIOStream sink;
    plain.AddOutputStream(0, sink.SetInputStream(3));
    EXPECT_EQ(plain.WriteTypeInfo(0), 0);
    EXPECT_EQ(plain.WriteTypeInfo(3), 0);
    plain.DeleteStreams();
    sink.DeleteStreams();
}

}  // namespace
