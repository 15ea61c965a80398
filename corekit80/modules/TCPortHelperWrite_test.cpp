// Typed writes: which port types each family accepts, single values, and the type
// information and packet marks the blocks carry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperTyped_test.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using namespace port_typed_test;

enum Family { F_INT, F_DBL, F_TEXT, F_COUNT };

// Writes one block of family; the write's result.
int WriteFamily(H& h, Family f)
{
    const int iv[] = {1, 2, 3};
    const double dv[] = {1.5, 2.5, 3.5};
    const TCString tv[] = {TCString("a"), TCString("b"), TCString("c")};
    switch (f) {
    case F_INT:
        return h.WriteIntData(0, 3, iv);
    case F_DBL:
        return h.WriteDblData(0, 3, dv);
    default:
        return h.WriteStringData(0, 3, tv);
    }
}

TEST(TCPortHelperWrite, EachFamilyWritesOnlyToItsPortTypes)
{
    const struct {
        const char* base;
        bool accepts[F_COUNT];  // int, double, text
    } cases[] = {
        {"SWORD", {true, false, false}},      {"SWORD[1]", {true, false, false}},
        {"SWORD[]", {true, false, false}},    {"DOUBLE", {false, true, false}},
        {"DOUBLE[1]", {false, true, false}},  {"DOUBLE[]", {false, true, false}},
        {"UBYTE[]", {false, false, true}},    {"UBYTE[][]", {false, false, true}},
        {"MultiType", {false, false, false}},
    };
    for (const auto& c : cases)
        for (int f = 0; f < F_COUNT; ++f)
            for (bool ti : {false, true}) {
                Pair p(c.base, ti);
                const int r = WriteFamily(p.w, Family(f));
                EXPECT_EQ(r, c.accepts[f] ? 1 : 0) << c.base << " family " << f << " ti " << ti;
                EXPECT_EQ(p.Waiting(), c.accepts[f] ? 1 : 0) << c.base << " family " << f;
                EXPECT_EQ(p.w.GetErrMsg().code, 0) << c.base;
            }
}

TEST(TCPortHelperWrite, NothingGoesOutWithoutALineOrWithoutValues)
{
    H h(nullptr);
    h.SetPort(PT_OUTPUT, 0, "Out", "SWORD[]", nullptr, true);
    EXPECT_EQ(h.WriteIntVal(0, 7), 0);
    EXPECT_EQ(h.WriteIntVal(1, 7), 0);  // no such port
    Pair p("SWORD[]");
    EXPECT_EQ(p.w.WriteIntData(0, 0, nullptr), 0);
    const int v = 1;
    EXPECT_EQ(p.w.WriteIntData(0, 0, &v), 0);
    EXPECT_EQ(p.Waiting(), 0);
    EXPECT_EQ(p.w.WriteIntData(0, 0x80000000u, &v), -14);
    EXPECT_EQ(p.w.GetErrMsg().code, -14);
    EXPECT_EQ(p.w.GetErrMsg().port, 0);
    EXPECT_EQ(p.Waiting(), 0);
}

TEST(TCPortHelperWrite, SingleValueTypesKeepTheLastValue)
{
    const int iv[] = {1, 2, 3, 4, 5};
    const double dv[] = {0.5, 1.5};
    const TCString tv[] = {TCString("first"), TCString("last")};
    {
        Pair p("SWORD");
        EXPECT_EQ(p.w.WriteIntData(0, 5, iv), 1);
        TCArray<int, int> got;
        EXPECT_EQ(p.r.ReadIntArray(0, got), 1);  // the count delivered
        ASSERT_EQ(got.GetSize(), 1);
        EXPECT_EQ(got[0], 5);
    }
    {
        Pair p("DOUBLE[1]", true, "DOUBLE[]");
        EXPECT_EQ(p.w.WriteDblData(0, 2, dv), 1);
        TCArray<double, double> got;
        EXPECT_EQ(p.r.ReadDblArray(0, got), 1);
        ASSERT_EQ(got.GetSize(), 1);
        EXPECT_EQ(got[0], 1.5);
    }
    {
        Pair p("UBYTE[]", true, "UBYTE[][]");
        EXPECT_EQ(p.w.WriteStringData(0, 2, tv), 1);
        TCArray<TCString> got;
        EXPECT_EQ(p.r.ReadStringArray(0, got), 1);
        ASSERT_EQ(got.GetSize(), 1);
        EXPECT_STREQ(got[0], "last");
    }
}

// The statuses the reader sees for a run of writes, each optionally with a status set.
TEST(TCPortHelperWrite, AutomaticStatusesFormPackets)
{
    const int none = -2;
    const struct {
        std::vector<int> set;       // status set before each write, or none
        std::vector<int> expected;  // status of each block read
    } cases[] = {
        {{none, none}, {TCBS_COMPLETE, TCBS_COMPLETE}},
        {{TCBS_START, none, none, TCBS_STOP, none, none},
         {TCBS_START, TCBS_BUSY, TCBS_BUSY, TCBS_STOP, TCBS_START, TCBS_BUSY}},
        {{TCBS_COMPLETE, TCBS_START, TCBS_STOP}, {TCBS_COMPLETE, TCBS_START, TCBS_STOP}},
        {{42, none}, {TCBS_COMPLETE, TCBS_COMPLETE}},  // an unknown status is made valid
    };
    for (const auto& c : cases) {
        Pair p("DOUBLE[]");
        for (size_t k = 0; k < c.set.size(); ++k) {
            if (c.set[k] != none)
                p.w.SetTI_Status(0, TCBLOCKSTATUS(c.set[k]));
            ASSERT_EQ(p.w.WriteDblVal(0, double(k)), 1) << k;
            double v = -1;
            ASSERT_EQ(p.r.ReadDblLastVal(0, v, true), 1) << k;
            EXPECT_EQ(v, double(k));
            TCTypeInfo ti;
            EXPECT_EQ(p.r.GetTypeInfo(0, &ti), c.expected[k]) << k;
            EXPECT_EQ(int(ti.State), c.expected[k]) << k;
            EXPECT_EQ(p.r.IsPacketStop(0), TCBlockStatus::HasStop(c.expected[k])) << k;
        }
    }
}

TEST(TCPortHelperWrite, AStartAfterAClosedPacketStillQueuedIsRefusedWithTheFan)
{
    Pair p("DOUBLE[]", true, nullptr, true);
    p.w.SetTI_Status(0, TCBS_START);
    ASSERT_EQ(p.w.WriteDblVal(0, 1), 1);
    p.w.SetTI_Status(0, TCBS_STOP);
    ASSERT_EQ(p.w.WriteDblVal(0, 2), 1);
    EXPECT_EQ(p.w.FailedFan(0), -1);
    p.r.ClearStream(0, true);  // fan 0 is empty again; the collector (fan 1) keeps both
    p.w.Done();                // a new run: no type information written yet
    EXPECT_EQ(p.w.WriteDblVal(0, 3), -4);
    EXPECT_EQ(p.w.FailedFan(0), 1);
    EXPECT_EQ(p.w.GetErrMsg().code, -4);
    EXPECT_EQ(p.w.GetErrMsg().second, 1);
    EXPECT_EQ(p.w.GetErrMsg().stream, &p.collector);
    p.w.SetTI_Status(0, TCBS_START);
    p.w.SetTI_Status(0, TCBS_START);
    ASSERT_EQ(p.collector.RemoveContents(true), 2);
    EXPECT_EQ(p.w.WriteDblVal(0, 4), 1);  // the queue is free again
    p.w.SetTI_Status(0, TCBS_STOP);
    ASSERT_EQ(p.w.WriteDblVal(0, 5), 1);
    p.w.SetTI_Status(0, TCBS_COMPLETE);
    EXPECT_EQ(p.w.WriteDblVal(0, 6), -18);  // type information went out before in this run
    EXPECT_EQ(p.w.GetErrMsg().code, -18);
}

TEST(TCPortHelperWrite, PendingTypeInformationIsMadeValid)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double min, max, rate, factor;
        double wantMin, wantMax, wantRate, wantFactor;
    } cases[] = {
        {-1, 1, 100, 1e-3, -1, 1, 100, 1e-3},
        {5, -5, 0, 0, -5, 5, 1.0, 1.0},
        {-inf, nan, -3, nan, -1.7976931348623157e308, 1.7976931348623157e308, 1.0, 1.0},
        {nan, -inf, nan, -2, -1.7976931348623157e308, 1.7976931348623157e308, 1.0, 1.0},
    };
    for (const auto& c : cases) {
        Pair p("SWORD[]");
        p.w.SetTI_Range(0, c.min, c.max);
        p.w.SetTI_Samplerate(0, c.rate);
        TCSI_Unit unit;
        unit.factor = c.factor;
        p.w.SetTI_Unit(0, unit);
        ASSERT_EQ(p.w.WriteIntVal(0, 1), 1);
        int v = 0;
        ASSERT_EQ(p.r.ReadIntLastVal(0, v, false), 1);
        TCTypeInfo ti;
        p.r.GetTypeInfo(0, &ti);
        EXPECT_EQ(ti.Min, c.wantMin) << c.min;
        EXPECT_EQ(ti.Max, c.wantMax) << c.max;
        EXPECT_EQ(ti.Samplerate, c.wantRate) << c.rate;
        EXPECT_EQ(ti.Unit.factor, c.wantFactor) << c.factor;
        EXPECT_STREQ(ti.Name, "Out");            // the port's name, automatically
        EXPECT_EQ(ti.Timestamp, p.w.SyncTime());  // the synchronisation time, automatically
    }
}

TEST(TCPortHelperWrite, SetFieldsReachTheBlockAndATimestampIsUsedOnce)
{
    Pair p("DOUBLE[]");
    TCTypeInfo set;
    set.Name = "Voltage";
    set.Timestamp = 1234.0;
    set.Samplerate = 50;
    set.Min = -10;
    set.Max = 10;
    set.State = TCBS_START;
    ASSERT_TRUE(set.Unit.FromString("V"));
    p.w.SetTypeInfo(0, set);
    ASSERT_EQ(p.w.WriteDblVal(0, 1), 1);
    ASSERT_EQ(p.w.WriteDblVal(0, 2), 1);
    TCTypeInfo got;
    double v;
    ASSERT_EQ(p.r.ReadDblLastVal(0, v, false), 1);
    EXPECT_EQ(p.r.GetTypeInfo(0, &got), TCBS_START);
    EXPECT_STREQ(got.Name, "Voltage");
    EXPECT_EQ(got.Timestamp, 1234.0);
    EXPECT_EQ(got.Samplerate, 50);
    EXPECT_EQ(got.Min, -10);
    EXPECT_EQ(got.Max, 10);
    EXPECT_TRUE(got.Unit == set.Unit);
    ASSERT_EQ(p.r.ReadDblLastVal(0, v, false), 1);
    EXPECT_EQ(p.r.GetTypeInfo(0, &got), TCBS_BUSY);
    EXPECT_STREQ(got.Name, "Voltage");  // set fields other than time and status stay
    EXPECT_EQ(got.Timestamp, p.w.SyncTime());
    EXPECT_EQ(got.Samplerate, 50);

    // An output without type information ignores the settings and sends none.
    Pair plain("DOUBLE[]", false);
    plain.w.SetTI_SignalName(0, "x");
    ASSERT_EQ(plain.w.WriteDblVal(0, 1), 1);
    ASSERT_EQ(plain.r.ReadDblLastVal(0, v, false), 1);
    EXPECT_EQ(plain.r.GetTypeInfo(0, &got), -1);
}

}  // namespace
