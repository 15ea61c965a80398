// Typed reads: which port types each family reads, round trips from a writing helper, the
// newest-value reads and packet marks seen by the reader.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperTyped_test.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using namespace port_typed_test;

enum Family { F_INT, F_DBL, F_TEXT, F_COUNT };

// Reads one block of family; the read's result.
int ReadFamily(H& h, Family f)
{
    unsigned n = 8;
    int iv[8];
    double dv[8];
    TCString tv[8];
    switch (f) {
    case F_INT:
        return h.ReadIntData(0, n, iv);
    case F_DBL:
        return h.ReadDblData(0, n, dv);
    default:
        return h.ReadStringData(0, n, tv);
    }
}

// One block of the family that base holds, written by the producer itself.
void Feed(TCIOStream& producer, const char* base)
{
    const std::string b = base;
    const int iv[] = {4, 5};
    const double dv[] = {4.5, 5.5};
    const TCString tv[] = {TCString("x"), TCString("y")};
    if (b.rfind("SWORD", 0) == 0)
        ASSERT_EQ(producer.WriteIntVec(iv, 2), 0);
    else if (b.rfind("DOUBLE", 0) == 0)
        ASSERT_EQ(producer.WriteDblVec(dv, 2), 0);
    else
        ASSERT_EQ(producer.WriteStrVec(tv, 2), 0);
}

TEST(TCPortHelperRead, EachFamilyReadsOnlyFromItsPortTypes)
{
    const struct {
        const char* base;
        int delivered[F_COUNT];  // int, double, text; 0 refused
    } cases[] = {
        {"SWORD", {1, 0, 0}},   {"SWORD[1]", {1, 0, 0}},   {"SWORD[]", {2, 0, 0}},
        {"DOUBLE", {0, 1, 0}},  {"DOUBLE[1]", {0, 1, 0}},  {"DOUBLE[]", {0, 2, 0}},
        {"UBYTE[]", {0, 0, 1}}, {"UBYTE[][]", {0, 0, 2}},
    };
    for (const auto& c : cases)
        for (int f = 0; f < F_COUNT; ++f) {
            H h(nullptr);
            h.SetPort(PT_INPUT, 0, "In", c.base, nullptr, true);
            TCIOStream producer;
            producer.AddOutputStream(static_cast<TCIOStream*>(h.SetInputStream(0, 0, 3)));
            Feed(producer, c.base);
            EXPECT_EQ(ReadFamily(h, Family(f)), c.delivered[f]) << c.base << " family " << f;
            // A refused read leaves the block waiting.
            EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 0), c.delivered[f] ? 0 : 1) << c.base << " family " << f;
            producer.DeleteStreams();
            h.DeleteStreams();
        }
}

TEST(TCPortHelperRead, NothingIsReadWithoutPortStreamOrBlock)
{
    Pair p("SWORD[]");
    int v[4];
    unsigned n = 4;
    EXPECT_EQ(p.r.ReadIntData(0, n, v), 0);  // no block
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(p.r.ReadIntData(1, n, v), 0);  // no port
    H unwired(nullptr);
    unwired.SetPort(PT_INPUT, 0, "In", "SWORD[]", nullptr, true);
    EXPECT_EQ(unwired.ReadIntData(0, n, v), 0);
    ASSERT_EQ(p.w.WriteIntVal(0, 3), 1);
    n = 0x80000000u;
    EXPECT_EQ(p.r.ReadIntData(0, n, v), -14);
    EXPECT_EQ(p.r.GetErrMsg().code, -14);
    EXPECT_EQ(p.r.GetErrMsg().port, 0);
    EXPECT_NE(p.r.GetErrMsg().stream, nullptr);
    EXPECT_EQ(p.Waiting(), 1);
}

TEST(TCPortHelperRead, RandomBlocksSurviveTheTripFromWriterToReader)
{
    std::mt19937 rng(1234);
    for (int trial = 0; trial < 50; ++trial) {
        const int len = std::uniform_int_distribution<int>(1, 300)(rng);
        Pair ints("SWORD[]"), dbls("DOUBLE[]"), texts("UBYTE[][]");
        TCArray<int, int> iv, ig;
        TCArray<double, double> dv, dg;
        TCArray<TCString> tv, tg;
        iv.SetSize(len);
        dv.SetSize(len);
        tv.SetSize(len);
        for (int i = 0; i < len; ++i) {
            iv[i] = int(rng());
            dv[i] = std::uniform_real_distribution<double>(-1e300, 1e300)(rng);
            std::string s(std::uniform_int_distribution<size_t>(0, 12)(rng), '\0');
            for (char& ch : s)
                ch = char(rng());
            tv[i] = TCString(s.data(), int(s.size()));
        }
        ASSERT_EQ(ints.w.WriteIntArray(0, iv), 1);
        ASSERT_EQ(dbls.w.WriteDblArray(0, dv), 1);
        ASSERT_EQ(texts.w.WriteStringArray(0, tv), 1);
        ASSERT_EQ(ints.r.ReadIntArray(0, ig), len);
        ASSERT_EQ(dbls.r.ReadDblArray(0, dg), len);
        ASSERT_EQ(texts.r.ReadStringArray(0, tg), len);
        ASSERT_EQ(ig.GetSize(), len);
        ASSERT_EQ(dg.GetSize(), len);
        ASSERT_EQ(tg.GetSize(), len);
        for (int i = 0; i < len; ++i) {
            EXPECT_EQ(ig[i], iv[i]);
            EXPECT_EQ(dg[i], dv[i]);
            EXPECT_EQ(tg[i].CompareBin(tv[i]), 0) << trial << " " << i;
        }
        // A shorter buffer gets the block's newest values.
        ASSERT_EQ(ints.w.WriteIntArray(0, iv), 1);
        const unsigned want = unsigned(std::uniform_int_distribution<int>(1, len)(rng));
        std::vector<int> part(want);
        unsigned n = want;
        ASSERT_EQ(ints.r.ReadIntData(0, n, part.data()), int(want));
        ASSERT_EQ(n, want);
        for (unsigned i = 0; i < want; ++i)
            EXPECT_EQ(part[i], iv[int(len - want + i)]);
    }
}

TEST(TCPortHelperRead, CStringFormsMatchTheTextForms)
{
    Pair p("UBYTE[][]");
    TCArray<CString> out, in;
    out.SetSize(3);
    out[0] = "one";
    out[1] = CString("t\0o", 3);
    out[2] = "";
    ASSERT_EQ(p.w.WriteCStringArray(0, out), 1);
    ASSERT_EQ(p.r.ReadCStringArray(0, in), 3);
    ASSERT_EQ(in.GetSize(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(in[i], out[i]) << i;
    ASSERT_EQ(p.w.WriteCStringVal(0, CString("single")), 1);
    CString one;
    EXPECT_EQ(p.r.ReadCString(0, one), 1);
    EXPECT_EQ(one, CString("single"));
}

TEST(TCPortHelperRead, TheCutFormEndsTextsAtTheirFirstZero)
{
    for (bool full : {true, false}) {
        Pair p("UBYTE[][]");
        p.r.SetStringDataFormat(PT_INPUT, 0, full);
        const TCString tv[] = {TCString("ab\0cd", 5), TCString("plain")};
        ASSERT_EQ(p.w.WriteStringData(0, 2, tv), 1);
        TCArray<TCString> got;
        ASSERT_EQ(p.r.ReadStringArray(0, got), 2);
        ASSERT_EQ(got.GetSize(), 2);
        EXPECT_EQ(got[0].GetLength(), full ? 5 : 2);
        EXPECT_STREQ(got[1], "plain");
    }
}

TEST(TCPortHelperRead, NewestValueConsumesOneOrAllBlocks)
{
    const struct {
        int blocks;
        bool all;
        int left;
    } cases[] = {{3, false, 2}, {3, true, 0}, {1, false, 0}, {2, false, 1}};
    for (const auto& c : cases) {
        // Without type information: closed packets may queue up.
        Pair ip("SWORD[]", false), dp("DOUBLE[]", false), tp("UBYTE[][]", false), bp("SWORD", false);
        for (int k = 0; k < c.blocks; ++k) {
            const int iv[] = {k, 10 * k + 1};
            const double dv[] = {k + 0.25, k + 0.5};
            const TCString tv[] = {TCString("a"), TCString(std::to_string(k).c_str())};
            ASSERT_EQ(ip.w.WriteIntData(0, 2, iv), 1);
            ASSERT_EQ(dp.w.WriteDblData(0, 2, dv), 1);
            ASSERT_EQ(tp.w.WriteStringData(0, 2, tv), 1);
            ASSERT_EQ(bp.w.WriteIntVal(0, k), 1);
        }
        const int last = c.blocks - c.left - 1;  // the last block consumed
        int i = -1;
        double d = -1;
        TCString t;
        bool b = true;
        EXPECT_EQ(ip.r.ReadIntLastVal(0, i, c.all), 1);
        EXPECT_EQ(dp.r.ReadDblLastVal(0, d, c.all), 1);
        EXPECT_EQ(tp.r.ReadStringLastVal(0, t, c.all), 1);
        EXPECT_EQ(bp.r.ReadBoolLastVal(0, b, c.all), 1);
        EXPECT_EQ(i, 10 * last + 1);
        EXPECT_EQ(d, last + 0.5);
        EXPECT_STREQ(t, std::to_string(last).c_str());
        EXPECT_EQ(b, last != 0);
        EXPECT_EQ(ip.Waiting(), c.left);
        EXPECT_EQ(dp.Waiting(), c.left);
        EXPECT_EQ(tp.Waiting(), c.left);
        EXPECT_EQ(bp.Waiting(), c.left);
    }
}

TEST(TCPortHelperRead, NewestValueOfEmptyOrForeignBlocks)
{
    Pair p("DOUBLE[]", true, "SWORD[]");  // a line that carries doubles into an integer input
    ASSERT_EQ(p.w.WriteDblVal(0, 1.0), 1);
    int v = 77;
    EXPECT_EQ(p.r.ReadIntLastVal(0, v, true), 0);
    EXPECT_EQ(v, 77);
    EXPECT_EQ(p.Waiting(), 0);

    Pair t("DOUBLE[]", true, "UBYTE[][]");
    ASSERT_EQ(t.w.WriteDblVal(0, 1.0), 1);
    TCString text("old");
    EXPECT_EQ(t.r.ReadStringLastVal(0, text, false), 1);  // a block without texts gives ""
    EXPECT_STREQ(text, "");
}

TEST(TCPortHelperRead, PacketMarksOfTheBlocksRead)
{
    Pair p("DOUBLE[]");
    const TCBLOCKSTATUS statuses[] = {TCBS_START, TCBS_BUSY, TCBS_STOP, TCBS_COMPLETE, TCBS_START};
    const size_t n = std::size(statuses);
    // A block after a closed packet is refused until the reader took that packet's end, so
    // the writer stays one block ahead of the reader.
    p.w.SetTI_Status(0, statuses[0]);
    ASSERT_EQ(p.w.WriteDblVal(0, 1), 1);
    EXPECT_TRUE(p.r.IsPacketStart(0, true));  // nothing read yet
    const struct {
        bool start, startPeek, stop;
    } expected[] = {
        {true, false, false},   // START; next BUSY
        {false, false, false},  // BUSY; next STOP
        {false, true, true},    // STOP; next COMPLETE
        {true, true, true},     // COMPLETE; next START
        {true, false, false},   // START; nothing next
    };
    for (size_t k = 0; k < n; ++k) {
        unsigned blocks = 0;
        TCTypeInfo peeked;
        EXPECT_EQ(p.r.PeekTypeInfo(0, &peeked), statuses[k]) << k;
        EXPECT_EQ(peeked.State, statuses[k]) << k;
        EXPECT_EQ(p.r.PeekStatus(0, false, &blocks), statuses[k]) << k;
        EXPECT_EQ(blocks, 1u);
        double v;
        ASSERT_EQ(p.r.ReadDblLastVal(0, v, false), 1);
        if (k + 1 < n) {
            p.w.SetTI_Status(0, statuses[k + 1]);
            ASSERT_EQ(p.w.WriteDblVal(0, 1), 1) << k;
        }
        EXPECT_EQ(p.r.IsPacketStart(0, false), expected[k].start) << k;
        EXPECT_EQ(p.r.IsPacketStart(0, true), expected[k].startPeek) << k;
        EXPECT_EQ(p.r.IsPacketStop(0), expected[k].stop) << k;
    }
    EXPECT_EQ(p.r.PeekTypeInfo(0, nullptr), -1);
    EXPECT_EQ(p.r.PeekStatus(0, false, nullptr), -1);
}

}  // namespace
