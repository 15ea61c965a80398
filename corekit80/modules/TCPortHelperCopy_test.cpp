// Whole blocks at the ports, run by the module harness: copies checked against the output's
// type, blocks moved from an input to an output, and the waiting block handed out whole.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperProbe_test.h"
#include "corekit80/archive/TCXML.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using namespace port_probe_test;
using H = TCPortHelper;

enum Kind { K_INTS, K_DBLS, K_TEXTS, K_INT_MAT, K_DBL_MAT, K_PTR, K_SEGMENTS, K_BUS };

// A stream that reads back what it writes, holding one block of kind (with ti when given).
struct Source {
    explicit Source(Kind kind, const TCTypeInfo* ti = nullptr)
    {
        s.AddOutputStream(s.SetInputStream(3));
        const TCString texts[] = {TCString("a"), TCString("b")};
        if (ti) {
            EXPECT_EQ(s.SetTI(ti, false), 0);
        }
        int r = 0;
        switch (kind) {
        case K_INTS: r = s.WriteIntVec(ints, 3); break;
        case K_DBLS: r = s.WriteDblVec(dbls, 2); break;
        case K_TEXTS: r = s.WriteStrVec(texts, 2); break;
        case K_INT_MAT: r = s.WriteIntMat(ints, 2, 2); break;
        case K_DBL_MAT: r = s.WriteDblMat(dbls, 2, 1); break;
        case K_PTR: r = s.WritePtr(ints, 4); break;
        case K_SEGMENTS:
        case K_BUS:
            s.StartWriteSegments();
            r = kind == K_BUS ? s.WriteBusSegment("1", ints, 2, &channel) : s.WriteSegment("n", 5);
            s.EndWriteSegments();
            break;
        }
        EXPECT_EQ(r, 0);
        EXPECT_EQ(s.PeekBlock(0), 1);
    }
    ~Source() { s.DeleteStreams(); }
    void* Block() { return s.GetActBlock(); }

    const int ints[4] = {1, 2, 3, 4};
    const double dbls[2] = {0.5, 1.5};
    TCTypeInfo channel;
    TCIOStream s;
};

// How a block built outside the typed writes reaches the output.
enum Way { W_COPY, W_BINARY, W_XML };

// The source's block put on the output in that way; the helper's result.
int Put(H& h, Source& source, Way way)
{
    if (way == W_COPY)
        return h.WriteCopy(0, source.Block());
    if (way == W_XML) {
        TCXML xml;
        EXPECT_TRUE(source.s.StreamToXML(xml, true, 0));
        return h.XMLToStream(0, xml);
    }
    TCString record;
    const int size = source.s.SerializeBlock(nullptr, true);
    EXPECT_EQ(source.s.SerializeBlock(record.GetBuffer(size), true), size);
    return h.DeSerializeBlock(0, record.ReleaseBuffer(size));
}

// A copy, a binary record or an XML document goes out and is then checked against the
// output's type class: numbers and texts one-dimensional, matrices two-dimensional, MultiType
// blocks of nested blocks only.
TEST(TCPortHelperCopy, CopiesAreCheckedAgainstTheOutputsType)
{
    const struct {
        unsigned long type;
        Kind kind;
        int result;  // -2: refused, and told to the host
    } rows[] = {
        {H::DT_SWORD_ARRAY, K_INTS, 1},       {H::DT_SWORD_ARRAY, K_DBLS, -2},    {H::DT_SWORD, K_INTS, 1},
        {H::DT_SWORD_MATRIX, K_INT_MAT, 1},   {H::DT_SWORD_MATRIX, K_INTS, -2},   {H::DT_DOUBLE_ARRAY, K_DBLS, 1},
        {H::DT_DOUBLE_ARRAY, K_DBL_MAT, -2},  {H::DT_DOUBLE_MATRIX, K_DBL_MAT, 1}, {H::DT_STRING_ARRAY, K_TEXTS, 1},
        {H::DT_STRING, K_INTS, -2},           {H::DT_POINTER, K_PTR, 1},          {H::DT_POINTER, K_INT_MAT, -2},
        {H::DT_MULTITYPE, K_BUS, 1},          {H::DT_MULTITYPE, K_SEGMENTS, -2},  {H::DT_UNDEFINED, K_TEXTS, 1},
    };
    for (size_t i = 0; i < 3 * std::size(rows); ++i) {
        const auto& row = rows[i / 3];
        const Way way = Way(i % 3);
        if (way != W_COPY && row.kind == K_PTR)
            continue;  // pointers have no serialized form
        Probe module;
        module.Ports().SetPort(PT_OUTPUT, 0, "Out", row.type);
        TCModuleHarness host(module);
        ASSERT_EQ(host.Start(), 0);
        Source source(row.kind);
        int result = 0, fan = 0;
        Step(host, module, [&](H& h) {
            result = Put(h, source, way);
            fan = h.FailedFan(0);
            return 0;
        });
        EXPECT_EQ(result > 0 ? 1 : result, row.result) << "row " << i;
        EXPECT_EQ(host.OutputBlockCnt(0), 1) << "row " << i;  // on the line either way
        EXPECT_EQ(host.ErrMsg()->code, row.result < 0 ? -2 : 0) << "row " << i;
        EXPECT_EQ(fan, row.result < 0 ? 0 : -1) << "row " << i;
        ASSERT_EQ(host.HostRecords().GetSize(), row.result < 0 ? 1 : 0) << "row " << i;
        if (row.result < 0) {
            EXPECT_STREQ(host.HostRecords()[0].text, "Block data does not match datatype of output port");
        }
    }
    // Nothing goes out without a block or without a line.
    Probe module;
    module.Ports().SetPort(PT_OUTPUT, 0, "Out", H::DT_SWORD_ARRAY);
    module.Ports().SetPort(PT_OUTPUT, 1, "Spare", H::DT_SWORD_ARRAY);
    module.Ports().SetErrorPort(2, "Errors");
    TCModuleHarness host(module);
    host.LeaveUnwired(PT_OUTPUT, 1);
    ASSERT_EQ(host.Start(), 0);
    Source ints(K_INTS), dbls(K_DBLS);
    Step(host, module, [&](H& h) {
        EXPECT_EQ(h.WriteCopy(0, nullptr), 0);
        EXPECT_EQ(h.WriteCopy(1, ints.Block()), 0);
        EXPECT_EQ(h.WriteCopy(3, ints.Block()), 0);
        // While running with an error port the mismatch becomes a block there.
        EXPECT_EQ(h.WriteCopy(0, dbls.Block()), 0);
        EXPECT_EQ(h.GetErrMsg().code, -2);
        return 0;
    });
    ASSERT_EQ(host.OutputBlockCnt(2), 1);
    EXPECT_STREQ(host.OutputTexts(2, 0)[0], "Block data does not match datatype of output port");
    EXPECT_TRUE(host.HostRecords().IsEmpty());
}

TCTypeInfo Info(const char* name, TCBLOCKSTATUS status)
{
    TCTypeInfo ti;
    ti.Name = name;
    ti.State = status;
    ti.Timestamp = 5;
    ti.Samplerate = 48;
    return ti;
}

// A second closed block while the first still waits is refused by the line: -4 when no type
// information went out on the port in this run, -18 after. The refused copy does not stay
// in the way of the next write.
TEST(TCPortHelperCopy, AClosedBlockBehindAnotherIsRefused)
{
    Probe module;
    module.Ports().SetPort(PT_OUTPUT, 0, "Out", H::DT_SWORD_ARRAY | H::DT_TYPEINFO);
    TCModuleHarness host(module);
    ASSERT_EQ(host.Start(), 0);
    const TCTypeInfo complete = Info("Copied", TCBS_COMPLETE);
    Source source(K_INTS, &complete);
    Step(host, module, [&](H& h) {
        EXPECT_EQ(h.WriteCopy(0, source.Block()), 1);
        EXPECT_EQ(h.WriteCopy(0, source.Block()), -18);
        EXPECT_EQ(h.FailedFan(0), 0);
        h.Done();  // a new run: no type information out yet, the first block still waits
        EXPECT_EQ(h.WriteCopy(0, source.Block()), -4);
        EXPECT_EQ(h.GetErrMsg().code, -4);
        EXPECT_EQ(h.GetErrMsg().second, 0);
        host.Collector(0)->RemoveContents(true);
        EXPECT_EQ(h.WriteIntVal(0, 9), 1);
        return 0;
    });
    ASSERT_EQ(host.OutputBlockCnt(0), 1);
    EXPECT_EQ(host.OutputInts(0, 0)[0], 9);
    EXPECT_STREQ(host.OutputTI(0, 0)->Name, "Out");
}

// Input 0 and output 0 carry type information; blocks move from one to the other.
struct Mover {
    Mover()
    {
        module.Ports().SetPort(PT_INPUT, 0, "In", H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO);
        module.Ports().SetPort(PT_INPUT, 1, "Plain", H::DT_DOUBLE_ARRAY);
        module.Ports().SetPort(PT_OUTPUT, 0, "Out", H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO);
    }
    void Feed(TCBLOCKSTATUS status, double v)
    {
        const TCTypeInfo ti = Info("Fed", status);
        ASSERT_EQ(host.Write(0, &v, 1, &ti), 0);
    }
    // The status of each block collected, taken.
    std::string Statuses()
    {
        std::string s;
        for (TCIOStream* c = host.Collector(0); c->RemoveBlock(true) == 1;)
            s += std::to_string(c->GetTI() ? c->GetTI()->State : -1);
        return s;
    }
    Probe module;
    TCModuleHarness host{module};
};

TEST(TCPortHelperCopy, BlocksMoveFromInputToOutput)
{
    Mover m;
    ASSERT_EQ(m.host.Start(), 0);
    m.Feed(TCBS_START, 1);
    m.Feed(TCBS_STOP, 2);
    ASSERT_EQ(m.host.Write(1, 1.0), 0);
    const TCTypeInfo mine = Info("Mine", TCBS_STOP);
    Step(m.host, m.module, [&](H& h) {
        // With a status of its own; the block's type information becomes the output's.
        EXPECT_EQ(h.CopyStreamContent(0, 0, TCBS_START), 1);
        EXPECT_EQ(h.GetTypeInfo(0, nullptr), TCBS_START);
        h.UseAutoTypeInfo(0, false, true, false, false, false, false);
        EXPECT_EQ(h.WriteDblVal(0, 10), 1);  // goes on from the moved block's status
        // With the type information given.
        EXPECT_EQ(h.CopyStreamContent(0, 0, false, &mine), 1);
        EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 0), 0);
        EXPECT_EQ(h.CopyStreamContent(0, 0, true, nullptr), 0);  // nothing waits
        EXPECT_EQ(h.CopyStreamContent(0, 1, true, nullptr), 0);  // no type information
        EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 1), 1);
        return 0;
    });
    EXPECT_EQ(m.host.OutputDoubles(0, 0)[0], 1);
    EXPECT_STREQ(m.host.OutputTI(0, 0)->Name, "Fed");
    EXPECT_EQ(m.host.OutputTI(0, 1)->Samplerate, 48);
    EXPECT_STREQ(m.host.OutputTI(0, 2)->Name, "Mine");
    EXPECT_EQ(m.Statuses(), "012");

    // Unfixed, a closed block behind another is refused: the first form has taken the block
    // off the input, the second leaves it waiting. Fixed, the second joins the first.
    const TCTypeInfo complete = Info("Closed", TCBS_COMPLETE);
    for (int form = 0; form < 3; ++form) {
        m.Feed(TCBS_START, 3);
        m.Feed(TCBS_STOP, 4);
        Step(m.host, m.module, [&](H& h) {
            for (int k = 0; k < 2; ++k) {
                const int r = form == 0 ? h.CopyStreamContent(0, 0, TCBS_COMPLETE)
                                        : h.CopyStreamContent(0, 0, form == 2, &complete);
                EXPECT_EQ(r, k == 0 || form == 2 ? 1 : -18) << form;
            }
            EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 0), form == 1 ? 1 : 0) << form;
            h.ClearStream(0, true);
            return 0;
        });
        EXPECT_EQ(m.Statuses(), form == 2 ? "02" : "3") << form;
    }
}

TEST(TCPortHelperCopy, WithoutALineTheInputIsEmptied)
{
    Mover m;
    m.host.LeaveUnwired(PT_OUTPUT, 0);
    ASSERT_EQ(m.host.Start(), 0);
    m.Feed(TCBS_START, 1);
    m.Feed(TCBS_STOP, 2);
    Step(m.host, m.module, [&](H& h) {
        EXPECT_EQ(h.CopyStreamContent(0, 0, TCBS_COMPLETE), 0);
        EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 0), 0);
        return 0;
    });
}

// The waiting block handed out whole: its type information is the input's, and the output
// that follows the input carries it on; the producer gets the block back once released.
TEST(TCPortHelperCopy, TheWaitingBlockIsHandedOutWhole)
{
    Mover m;
    m.module.Ports().UseTypeInfoFromInput(0, 0);
    ASSERT_EQ(m.host.Start(), 0);
    m.Feed(TCBS_START, 1);
    m.Feed(TCBS_STOP, 2);
    TCIOStream& producer = *m.host.Producer(0);
    const int free = producer.FreeList().GetCount();
    void* held = nullptr;
    Step(m.host, m.module, [&](H& h) {
        EXPECT_EQ(h.ExchangeBinary(0, held, true), 1);
        EXPECT_EQ(h.GetTypeInfo(0, nullptr), TCBS_START);
        EXPECT_EQ(h.ExchangeBinary(0, held, true), 1);  // the first goes back
        EXPECT_EQ(producer.FreeList().GetCount(), free + 1);
        EXPECT_EQ(h.GetTypeInfo(0, nullptr), TCBS_STOP);
        EXPECT_EQ(h.WriteDblVal(0, 7), 1);
        EXPECT_EQ(h.ExchangeBinary(0, held, true), 0);  // nothing waits: still held
        EXPECT_NE(held, nullptr);
        EXPECT_EQ(h.ExchangeBinary(0, held, false), 0);
        EXPECT_EQ(held, nullptr);
        EXPECT_EQ(producer.FreeList().GetCount(), free + 2);
        return 0;
    });
    EXPECT_STREQ(m.host.OutputTI(0, 0)->Name, "Fed");
    EXPECT_EQ(m.host.OutputTI(0, 0)->State, TCBS_STOP);
}

// The serialized forms of an input's block: asking for the size or peeking leaves the block
// waiting; taking it makes its type information the input's last one.
TEST(TCPortHelperCopy, SerializedFormsTakeTheWaitingBlock)
{
    Mover m;
    ASSERT_EQ(m.host.Start(), 0);
    m.Feed(TCBS_START, 1);
    m.Feed(TCBS_BUSY, 2);
    m.Feed(TCBS_STOP, 3);
    Step(m.host, m.module, [&](H& h) {
        TCXML xml;
        EXPECT_TRUE(h.StreamToXML(0, xml, true, 2));
        EXPECT_NE(std::string(h.ConvertToString(PT_INPUT, 0)).find("START"), std::string::npos);
        const int size = h.SerializeBlock(0, nullptr, true);
        EXPECT_GT(size, 0);
        EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 0), 3);
        std::string record(size_t(size), '\0');
        EXPECT_EQ(h.SerializeBlock(0, record.data(), true), size);
        EXPECT_EQ(h.GetTypeInfo(0, nullptr), TCBS_START);
        EXPECT_TRUE(TCString(h.SerializeForOldStream(0)).IsEmpty());  // bus blocks only, taken all the same
        EXPECT_EQ(h.GetTypeInfo(0, nullptr), TCBS_BUSY);
        EXPECT_TRUE(h.StreamToXML(0, xml, false, 0));
        EXPECT_EQ(h.GetTypeInfo(0, nullptr), TCBS_STOP);
        EXPECT_EQ(h.BlocksOnStream(PT_INPUT, 0), 0);
        EXPECT_EQ(h.SerializeBlock(0, record.data(), true), 0);
        return 1;
    });
}

}  // namespace
