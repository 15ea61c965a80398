// Counts every heap allocation while blocks flow; built as a program of its own because it
// replaces the allocator's entry points.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <random>

#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/alloc/AllocCounter_test.h"


namespace {

using Block = TCIOStream::Block;

// One output to three readers: a reading one (simple and segment reads), one that holds
// blocks with ExchangeBinary, and one that peeks and drains in bursts.
struct Flow {
    TCIOStream out, in[3];
    Block* held = nullptr;
    std::mt19937 rng{80};
    double values[64] = {};
    TCTypeInfo ti;
    TCString text{"sixteen bytes..."};
    TCString readText{"................"};

    Flow()
    {
        for (TCIOStream& s : in)
            out.AddOutputStream(s.SetInputStream(3));
        ti.Name = "signal";
        ti.State = TCBS_BUSY;
        ti.Timestamp = 1.0;
    }

    void Step(int i)
    {
        int kind = int(rng() % 4);
        values[0] = i;
        if (kind == 0) {
            ASSERT_EQ(out.WriteDblVec(values, 64), 0);
        } else if (kind == 1) {
            ASSERT_EQ(out.SetTI(&ti, false), 0);
            ASSERT_EQ(out.WriteIntVec(&i, 1), 0);
        } else {
            ASSERT_EQ(out.StartWriteSegments(), 1);
            ASSERT_EQ(out.SetTI(&ti, false), 0);
            ASSERT_EQ(out.WriteSegment("index", i), 0);
            ASSERT_EQ(out.WriteSegment("value", values[1]), 0);
            ASSERT_EQ(out.WriteSegment("text", text), 0);
            ASSERT_TRUE(out.EndWriteSegments());
        }
        // The reader.
        double buf[64];
        int n = 64, got = -1;
        if (kind == 0) {
            ASSERT_EQ(in[0].ReadDblVec(buf, &n), 64);
        } else if (kind == 1) {
            ASSERT_EQ(in[0].ReadIntVec(&got, nullptr), 1);
            ASSERT_EQ(got, i);
            ASSERT_EQ(in[0].GetTI()->State, TCBS_BUSY);
        } else {
            ASSERT_EQ(in[0].StartReadSegments(), 1);
            ASSERT_EQ(in[0].ReadSegment("index", got), 1);
            ASSERT_EQ(in[0].ReadSegment("text", readText), 1);
            ASSERT_EQ(got, i);
        }
        // The holder takes about every other block.
        if (rng() % 2)
            ASSERT_EQ(in[1].ExchangeBinary(&held, true), 1);
        else
            in[1].RemoveContents(false);
        // The peeker looks at its queue and drains it when eight blocks wait.
        const double* peek;
        in[2].PeekDblData(0, peek, nullptr, nullptr);
        if (in[2].GetBlockCnt(nullptr) == 8)
            in[2].RemoveContents(true);
    }
};

TEST(TCIOStreamAlloc, SteadyFlowAllocatesNothing)
{
    Flow f;
    for (int i = 0; i < 5000; ++i) {
        f.Step(i);
        ASSERT_FALSE(HasFatalFailure());
    }
    int owned = f.out.OwnedBlockCnt();
    alloc_counter::Start();
    for (int i = 0; i < 10000; ++i) {
        f.Step(i);
        if (HasFatalFailure())
            break;
    }
    EXPECT_EQ(alloc_counter::Stop(), 0);
    EXPECT_EQ(f.out.OwnedBlockCnt(), owned);
}

TEST(TCIOStreamAlloc, CounterSeesAllocations)
{
    alloc_counter::Start();
    TCString* s = new TCString("counted");
    const long allocations = alloc_counter::Stop();
    delete s;
    EXPECT_GE(allocations, 2);
}

} // namespace
