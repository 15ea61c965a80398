// MultiType ports, buses and the error port: named segments and bus channels written and read
// back, mismatches told through the error port while running and to the user while stopped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corekit80/modules/TCPortHelperTyped_test.h"
#include "corekit80/streams/TCBusSerializeHelper.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using port_typed_test::H;
using port_typed_test::Pair;

// A MultiType line whose reader has a live error port (output 0) read by errors.
struct Named : Pair {
    Named() : Pair("MultiType", true)
    {
        r.SetErrorPort(0, "Errors");
        r.AddOutputStream(0, errors.SetInputStream(3));
        r.GetMessageA(32, 0);
        r.GetMessageA(44, 5);
    }
    ~Named()
    {
        r.DeleteStreams();
        errors.DeleteStreams();
    }
    // The texts waiting on the error port, taken.
    std::vector<std::string> Errors()
    {
        std::vector<std::string> texts;
        TCString t;
        while (errors.GetBlockCnt(nullptr) > 0 && errors.ReadStr(t) == 1) {
            EXPECT_STREQ(errors.GetTI()->Name, "Error");
            states.push_back(errors.GetTI()->State);
            texts.emplace_back(static_cast<const char*>(t));
        }
        return texts;
    }
    TCIOStream errors;
    std::vector<int> states;  // of the error blocks taken
};

TEST(PortHelperNamed, SegmentsRoundTripByNameAndIndex)
{
    Named p;
    ASSERT_EQ(p.w.WriteMultitypeInt(0, 42, "count"), 1);
    ASSERT_EQ(p.w.WriteMultitypeDbl(0, 2.5, "gain"), 1);
    ASSERT_EQ(p.w.WriteMultitypeString(0, TCString("volts"), "unit"), 1);
    EXPECT_EQ(p.Waiting(), 0);  // nothing goes out before the close
    ASSERT_EQ(p.w.EndWriteMultitype(0), 1);
    ASSERT_EQ(p.Waiting(), 1);
    ASSERT_EQ(p.r.StartReadMultitype(0), 1);

    TCArray<TCString> names;
    ASSERT_EQ(p.r.GetMultitypeInfo(0, &names), 3);
    const struct {
        const char* name;
        int type;
    } expected[] = {{"count", 1}, {"gain", 2}, {"unit", 3}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(names[i], expected[i].name);
        EXPECT_STREQ(p.r.GetMultitypeName(0, i), expected[i].name);
        EXPECT_EQ(p.r.GetMultitypeType(0, i), expected[i].type);
    }
    EXPECT_EQ(p.r.GetMultitypeType(0, 3), 0);
    int n = 0;
    double x = 0;
    TCString t;
    EXPECT_EQ(p.r.ReadMultitypeInt(0, "count", n), 1);
    EXPECT_EQ(n, 42);
    EXPECT_EQ(p.r.ReadMultitypeDbl(0, 1, x), 1);
    EXPECT_EQ(x, 2.5);
    EXPECT_EQ(p.r.ReadMultitypeString(0, "unit", t), 1);
    EXPECT_STREQ(t, "volts");
    EXPECT_EQ(p.r.ReadMultitypeInt(0, "missing", n), 0);
    TCTypeInfo ti;
    EXPECT_EQ(p.r.GetTypeInfo(0, &ti), TCBS_COMPLETE);
    EXPECT_STREQ(ti.Name, "Out");
    EXPECT_TRUE(p.Errors().empty());
}

TEST(PortHelperNamed, MismatchesAreToldThroughTheErrorPort)
{
    enum Kind { INT, DBL, STR, BLK };
    const struct {
        Kind kind;
        bool byName;
        const char* text;
    } cases[] = {
        {INT, false, "Datatype does not match while reading integer value at segment 1"},
        {DBL, false, "Datatype does not match while reading double value at segment 0"},
        {STR, false, "Datatype does not match while reading string value at segment 0"},
        {BLK, false, "Datatype does not match while reading block values at segment 0"},
        {INT, true, "Datatype does not match while reading integer value at segment 'd'"},
        {DBL, true, "Datatype does not match while reading double value at segment 'i'"},
        {STR, true, "Datatype does not match while reading string value at segment 'i'"},
        {BLK, true, "Datatype does not match while reading block values at segment 'i'"},
    };
    for (const auto& c : cases) {
        Named p;
        p.w.WriteMultitypeInt(0, 1, "i");
        p.w.WriteMultitypeDbl(0, 1.5, "d");
        ASSERT_EQ(p.w.EndWriteMultitype(0), 1);
        ASSERT_EQ(p.r.StartReadMultitype(0), 1);
        int n;
        double x;
        TCString t;
        TCArray<void*> blocks;
        int r = 0;
        switch (c.kind) {
        case INT:
            r = c.byName ? p.r.ReadMultitypeInt(0, "d", n) : p.r.ReadMultitypeInt(0, 1, n);
            break;
        case DBL:
            r = c.byName ? p.r.ReadMultitypeDbl(0, "i", x) : p.r.ReadMultitypeDbl(0, 0, x);
            break;
        case STR:
            r = c.byName ? p.r.ReadMultitypeString(0, "i", t) : p.r.ReadMultitypeString(0, 0, t);
            break;
        case BLK:
            r = c.byName ? p.r.ReadMultitypeBlocks(0, "i", blocks) : p.r.ReadMultitypeBlocks(0, 0, blocks);
            break;
        }
        EXPECT_EQ(r, -2) << c.text;
        EXPECT_EQ(p.r.GetErrMsg().code, -2) << c.text;
        EXPECT_EQ(p.r.GetErrMsg().port, 0) << c.text;
        EXPECT_EQ(p.Errors(), std::vector<std::string>{c.text});
        EXPECT_EQ(p.states, std::vector<int>{TCBS_COMPLETE});
    }
}

TEST(PortHelperNamed, NestedBlocksRoundTrip)
{
    Named p;
    TCIOStream::Block inner;
    TCArray<void*> out;
    out.Add(&inner);
    out.Add(&inner);
    ASSERT_EQ(p.w.WriteMultitypeBlocks(0, out, "nested"), 1);
    ASSERT_EQ(p.w.EndWriteMultitype(0), 1);
    ASSERT_EQ(p.r.StartReadMultitype(0), 1);
    EXPECT_EQ(p.r.GetMultitypeType(0, 0), 5);
    TCArray<void*> byName, byIndex;
    EXPECT_EQ(p.r.ReadMultitypeBlocks(0, "nested", byName), 2);
    EXPECT_EQ(p.r.ReadMultitypeBlocks(0, 0, byIndex), 2);
    ASSERT_EQ(byName.GetSize(), 2);
    EXPECT_EQ(byName[0], byIndex[0]);
    EXPECT_NE(byName[0], &inner);  // the segment holds copies
}

TEST(PortHelperNamed, EndWithoutWriteIsRefused)
{
    Named p;
    p.w.WriteMultitypeInt(0, 1, "a");
    EXPECT_EQ(p.w.EndWriteMultitype(0), 1);
    EXPECT_EQ(p.w.EndWriteMultitype(0), -2);
    EXPECT_EQ(p.w.GetErrMsg().code, -2);
    EXPECT_EQ(p.w.GetErrMsg().port, 0);
    EXPECT_EQ(p.Waiting(), 1);
}

TEST(PortHelperNamed, PortsOfOtherKindsTakeNothing)
{
    Pair plain("SWORD", false);
    EXPECT_EQ(plain.w.WriteMultitypeInt(0, 1, "a"), 0);
    EXPECT_EQ(plain.w.EndWriteMultitype(0), 0);
    plain.w.WriteIntVal(0, 3);
    EXPECT_EQ(plain.r.StartReadMultitype(0), 0);
    EXPECT_EQ(plain.Waiting(), 1);
    H unwired(nullptr);
    unwired.SetPort(PT_OUTPUT, 0, "Out", "MultiType", nullptr, false);
    EXPECT_EQ(unwired.WriteMultitypeInt(0, 1, "a"), 0);
    EXPECT_EQ(unwired.EndWriteMultitype(0), 0);
}

TEST(PortHelperNamed, ErrorPortWaitsForItsReaderUnlessForced)
{
    Named p;
    const struct {
        bool force;
        int result;
        int waiting;
    } steps[] = {{false, 0, 1}, {false, 0, 1}, {true, 0, 2}};
    for (const auto& s : steps) {
        EXPECT_EQ(p.r.WriteError("x", s.force), s.result);
        EXPECT_EQ(p.errors.GetBlockCnt(nullptr), s.waiting);
    }
    EXPECT_EQ(p.Errors(), (std::vector<std::string>{"x", "x"}));
    // Later errors of the cycle are fitted to the first: together they make one packet.
    EXPECT_EQ(p.states, (std::vector<int>{TCBS_START, TCBS_STOP}));
}

TEST(PortHelperNamed, ErrorsGoToTheUserWhileStoppedOrUnwired)
{
    Named p;
    p.r.GetMessageA(44, 6);
    EXPECT_EQ(p.r.WriteError("stopped", true), -2);
    EXPECT_EQ(p.errors.GetBlockCnt(nullptr), 0);
    H alone(nullptr);
    alone.SetErrorPort(0, "Errors");
    alone.GetMessageA(44, 5);
    EXPECT_EQ(alone.WriteError("no line", false), -2);
}

}  // namespace

namespace {

// A bus line with every kind of channel, channel k carrying sample rate k + 1.
struct Bus : Named {
    Bus()
    {
        w.ChangeType(PT_OUTPUT, 0, "STRUCT_BUS", nullptr, false);
        r.ChangeType(PT_INPUT, 0, "STRUCT_BUS", nullptr, false);
        const TCString texts[2] = {"x", "y"};
        EXPECT_EQ(w.WriteIntBusBlock(0, 7, 0, "a", Ti(0)), 1);
        EXPECT_EQ(w.WriteDblBusBlock(0, 2.5, 1, "b", Ti(1)), 1);
        EXPECT_EQ(w.WriteStringBusBlock(0, TCString("s"), 2, "c", Ti(2)), 1);
        EXPECT_EQ(w.WriteIntDataBusBlock(0, 3, ints, 3, "d", Ti(3)), 1);
        EXPECT_EQ(w.WriteDblDataBusBlock(0, 2, dbls, 4, "e", Ti(4)), 1);
        EXPECT_EQ(w.WriteStringDataBusBlock(0, 2, texts, 5, "f", Ti(5)), 1);
        EXPECT_EQ(w.WriteIntMatrixBusBlock(0, 2, 3, imat, true, 6, "g", Ti(6)), 1);
        EXPECT_EQ(w.WriteDblMatrixBusBlock(0, 2, 1, dbls, false, 7, "h", Ti(7)), 1);
        EXPECT_EQ(w.WritePtrBusBlock(0, 1, &target, "SWORD", 8, "p", Ti(8)), 1);
        EXPECT_EQ(w.EndWriteMultitype(0), 1);
        EXPECT_EQ(r.StartReadMultitype(0), 1);
    }
    static TCTypeInfo Ti(int k)
    {
        TCTypeInfo ti;
        ti.Init();
        ti.Samplerate = k + 1;
        return ti;
    }
    const int ints[3] = {1, 2, 3};
    const double dbls[2] = {1.5, -2.5};
    const int imat[6] = {1, 2, 3, 4, 5, 6};
    int target = 0;
};

// Every channel read back by name and by number, with its type information.
template <class Key>
void CheckBus(Bus& b, Key c, Key d, Key e, Key f, Key g, Key h, Key p, Key a, Key bb)
{
    TCTypeInfo ti;
    int i = 0;
    double x = 0;
    TCString t;
    EXPECT_EQ(b.r.ReadIntBusBlock(0, a, i, &ti), 1);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(ti.Samplerate, 1);
    EXPECT_EQ(b.r.ReadDblBusBlock(0, bb, x, &ti), 1);
    EXPECT_EQ(x, 2.5);
    EXPECT_EQ(b.r.ReadStringBusBlock(0, c, t), 1);
    EXPECT_STREQ(t, "s");
    TCArray<int, int> is;
    EXPECT_EQ(b.r.ReadIntArrayBusBlock(0, d, is, &ti), 1);
    ASSERT_EQ(is.GetSize(), 3);
    EXPECT_EQ(is[2], 3);
    EXPECT_EQ(ti.Samplerate, 4);
    TCArray<double, double> ds;
    EXPECT_EQ(b.r.ReadDblArrayBusBlock(0, e, ds), 1);
    ASSERT_EQ(ds.GetSize(), 2);
    EXPECT_EQ(ds[1], -2.5);
    TCArray<TCString> ts;
    EXPECT_EQ(b.r.ReadStringArrayBusBlock(0, f, ts), 1);
    ASSERT_EQ(ts.GetSize(), 2);
    EXPECT_STREQ(ts[1], "y");
    unsigned rows = 0, cols = 0;
    int* im = nullptr;
    EXPECT_EQ(b.r.ReadIntMatrixBusBlock(0, g, rows, cols, &im), 1);
    EXPECT_EQ(rows, 2u);
    EXPECT_EQ(cols, 3u);
    EXPECT_EQ(im[5], 6);
    EXPECT_NE(im, b.imat);  // copied
    double* dm = nullptr;
    EXPECT_EQ(b.r.ReadDblMatrixBusBlock(0, h, rows, cols, &dm, &ti), 1);
    EXPECT_EQ(dm, b.dbls);  // by reference
    EXPECT_EQ(ti.Samplerate, 8);
    unsigned n = 0;
    void* ptr = nullptr;
    EXPECT_EQ(b.r.ReadPtrBusBlock(0, p, n, &ptr), 1);
    EXPECT_EQ(ptr, &b.target);
    EXPECT_EQ(b.r.GetBusBlockCnt(0, d), 1);
    EXPECT_EQ(b.r.GetBusBlockElementCnt(0, d), 3);
}

TEST(PortHelperBus, ChannelsRoundTripByNameAndNumber)
{
    Bus b;
    CheckBus<const char*>(b, "c", "d", "e", "f", "g", "h", "p", "a", "b");
    CheckBus<int>(b, 2, 3, 4, 5, 6, 7, 8, 0, 1);
    int i = 0;
    EXPECT_EQ(b.r.ReadIntBusBlock(0, "missing", i), 0);
    EXPECT_EQ(b.r.ReadIntBusBlock(0, 9, i), 0);
    EXPECT_EQ(b.r.GetBusBlockCnt(0, "missing"), 0);
    EXPECT_TRUE(b.Errors().empty());
}

TEST(PortHelperBus, ChannelsOfAnotherKindAreTold)
{
    const struct {
        int kind;  // 0 int value, 1 double array, 2 int matrix, 3 pointer
        bool byName;
        const char* text;
    } cases[] = {
        {0, true, "Datatype does not match while reading BUS int value at channel 'b'"},
        {0, false, "Datatype does not match while reading BUS int value at channel 1"},
        {1, true, "Datatype does not match while reading BUS double array at channel 'a'"},
        {2, false, "Datatype does not match while reading BUS int matrix at channel 1"},
        {3, true, "Datatype does not match while reading BUS pointer value at channel 'a'"},
    };
    for (const auto& c : cases) {
        Bus b;
        int i;
        TCArray<double, double> ds;
        unsigned rows, cols, n;
        int* m;
        void* p;
        int r = 0;
        switch (c.kind) {
        case 0:
            r = c.byName ? b.r.ReadIntBusBlock(0, "b", i) : b.r.ReadIntBusBlock(0, 1, i);
            break;
        case 1:
            r = b.r.ReadDblArrayBusBlock(0, "a", ds);
            break;
        case 2:
            r = b.r.ReadIntMatrixBusBlock(0, 1, rows, cols, &m);
            break;
        case 3:
            r = b.r.ReadPtrBusBlock(0, "a", n, &p);
            break;
        }
        EXPECT_EQ(r, -2) << c.text;
        EXPECT_EQ(b.r.GetErrMsg().code, -2) << c.text;
        EXPECT_EQ(b.Errors(), std::vector<std::string>{c.text});
    }
}

TEST(PortHelperBus, ChannelNamesSplitIntoTheirParts)
{
    const TCString segment = TCBusSerializeHelper::GenSegmentName(H::DT_SWORD_ARRAY, "SWORD[]", 1, 5, "speed", "r1");
    int channel = -1;
    TCString name, check, validation;
    unsigned long code = 0;
    ASSERT_TRUE(H::SplitBusChannelName(segment, &channel, &name, &check, &code, &validation));
    EXPECT_EQ(channel, 5);
    EXPECT_STREQ(name, "speed");
    EXPECT_STREQ(check, "r1");
    EXPECT_EQ(code, static_cast<unsigned long>(H::DT_SWORD_ARRAY));
    EXPECT_STREQ(validation, "DT_00000004");
    EXPECT_FALSE(H::SplitBusChannelName("5\r\nspeed", &channel, &name, &check, &code, &validation));
    EXPECT_EQ(channel, 5);
    EXPECT_FALSE(H::SplitBusChannelName(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
