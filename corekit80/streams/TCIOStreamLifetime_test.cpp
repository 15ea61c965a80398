// What the stream hands out and how long it stays good: matrix reads until the producer's
// next write, peeks while the block is queued, held blocks until released, tear-down of a
// whole graph in any order. Built with the address sanitizer these tests show that every
// pointer read here still points at live memory.
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCIOStreamGraph_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Block = TCIOStream::Block;

using Graph = StreamGraph;

int Write(TCIOStream& out, const int* v, int n) { return out.WriteIntVec(v, n); }
int Write(TCIOStream& out, const double* v, int n) { return out.WriteDblVec(v, n); }
int ReadMat(TCIOStream& in, int** p, int& rows, int& cols) { return in.ReadIntMat(p, rows, cols); }
int ReadMat(TCIOStream& in, double** p, int& rows, int& cols) { return in.ReadDblMat(p, rows, cols); }

// A matrix read of a copied vector points into the block, which goes back to the producer
// when the last reader takes it: the values hold until the producer writes again, and
// longer while another input still queues the block.
template <class T>
void MatrixReadHolds(int readers)
{
    SCOPED_TRACE(readers);
    Graph g(readers);
    const T first[4] = {T(1), T(2), T(3), T(4)}, second[4] = {T(9), T(9), T(9), T(9)};
    ASSERT_EQ(Write(g.out, first, 4), 0);
    T* p = nullptr;
    int rows = 0, cols = 0;
    ASSERT_EQ(ReadMat(g.in[0], &p, rows, cols), 4);
    ASSERT_EQ(rows * 10 + cols, 14);
    EXPECT_EQ(g.out.FreeList().GetCount(), readers == 1 ? 1 : 0);
    // Reads and peeks elsewhere leave the block alone.
    EXPECT_EQ(ReadMat(g.in[0], &p, rows, cols), 0);
    for (int k = 1; k < readers; ++k)
        EXPECT_EQ(g.in[k].GetBlockLen(0, 0), 4);
    EXPECT_TRUE(std::equal(first, first + 4, p));
    if (readers == 1)
        return;
    // Other inputs still queue the block: the producer writes into another one.
    ASSERT_EQ(Write(g.out, second, 4), 0);
    EXPECT_EQ(g.out.OwnedBlockCnt(), 2);
    EXPECT_TRUE(std::equal(first, first + 4, p));
    // The last of them takes it: back to the producer, and still good.
    for (int k = 1; k < readers; ++k)
        EXPECT_EQ(g.in[k].RemoveContents(false), 1);
    EXPECT_EQ(g.out.FreeList().GetCount(), 1);
    EXPECT_TRUE(std::equal(first, first + 4, p));
}

TEST(TCIOStreamLifetime, MatrixReadHoldsUntilTheProducerWritesAgain)
{
    for (int readers : {1, 2, 3}) {
        MatrixReadHolds<int>(readers);
        MatrixReadHolds<double>(readers);
    }
}

// Matrices written by reference are the writer's memory: the read hands back the writer's
// pointer, whatever happens to the block.
TEST(TCIOStreamLifetime, MatrixByReferenceIsTheWritersMemory)
{
    Graph g(1);
    std::vector<double> own = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(g.out.WriteDblMat(own.data(), 2, 3), 0);
    double* p = nullptr;
    int rows = 0, cols = 0;
    ASSERT_EQ(g.in[0].ReadDblMat(&p, rows, cols), 6);
    EXPECT_EQ(p, own.data());
    const double other[2] = {7, 8};
    ASSERT_EQ(g.out.WriteDblVec(other, 2), 0); // reuses the block
    EXPECT_EQ(g.out.OwnedBlockCnt(), 1);
    EXPECT_EQ(p[5], 6);
}

// A peeked pointer stays valid while its block is queued, however much the producer writes
// meanwhile, and after the block is taken off until the producer's next write.
TEST(TCIOStreamLifetime, PeekedDataHoldsWhileQueued)
{
    Graph g(2);
    const double d[4] = {0.5, 1.5, 2.5, 3.5};
    const TCString texts[3] = {"a", TCString("b\0b", 3), "a longer text than fits inline"};
    ASSERT_EQ(g.out.WriteDblVec(d, 4), 0);
    ASSERT_EQ(g.out.WriteStrVec(texts, 3), 0);
    const double* pd = nullptr;
    const TCString* ps = nullptr;
    ASSERT_EQ(g.in[0].PeekDblData(0, pd, nullptr, nullptr), 4);
    ASSERT_EQ(g.in[0].PeekStrData(1, ps), 3);

    // The producer keeps writing (the queues grow) and the other input drains: no block
    // in[0] queues is reused.
    for (int i = 0; i < 50; ++i) {
        const double more[4] = {double(i), 0, 0, 0};
        ASSERT_EQ(g.out.WriteDblVec(more, 4), 0);
        EXPECT_EQ(g.in[1].RemoveContents(true), i == 0 ? 3 : 1);
    }
    EXPECT_TRUE(std::equal(d, d + 4, pd));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ps[i], texts[i]) << i;

    // Taken off: still good until the producer's next write.
    EXPECT_EQ(g.in[0].RemoveContents(false), 1);
    EXPECT_EQ(g.in[0].RemoveContents(false), 1);
    EXPECT_TRUE(std::equal(d, d + 4, pd));
    EXPECT_EQ(ps[2], texts[2]);
}

// ExchangeBinary's holder keeps its block, content and all, until it lets it go.
TEST(TCIOStreamLifetime, HeldBlockKeepsItsContent)
{
    Graph g(2);
    const int v[3] = {4, 5, 6};
    ASSERT_EQ(g.out.WriteIntVec(v, 3), 0);
    Block* held = nullptr;
    ASSERT_EQ(g.in[0].ExchangeBinary(&held, true), 1);
    const int* data = static_cast<const int*>(held->ValidSegment(0)->m_pData);
    EXPECT_EQ(g.in[1].RemoveContents(true), 1);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(g.out.WriteIntVec(&i, 1), 0);
        g.in[0].RemoveContents(true);
        g.in[1].RemoveContents(true);
    }
    EXPECT_EQ(held->m_nRefCount, 1);
    EXPECT_TRUE(std::equal(v, v + 3, data));
    const int owned = g.out.OwnedBlockCnt();
    EXPECT_EQ(g.out.FreeList().GetCount(), owned - 1);
    EXPECT_EQ(g.in[0].ExchangeBinary(&held, false), 0);
    EXPECT_EQ(g.out.FreeList().GetCount(), owned);
}

// The nested blocks, names and type info of the act block are owned by it: good until the
// producer's next write.
TEST(TCIOStreamLifetime, ActBlockPartsHoldUntilTheProducerWritesAgain)
{
    Graph g(1);
    TCArray<Block*> blocks;
    Block nested;
    const int one = 1, v = 42;
    ASSERT_TRUE(nested.SegmentForWrite("n", false)->SetData(TCIOStream::INT, 1, &one, &v, true));
    blocks.Add(&nested);
    TCTypeInfo ti;
    ti.Name = "signal";
    ASSERT_EQ(g.out.StartWriteSegments(), 1);
    ASSERT_EQ(g.out.SetTI(&ti, true), 0);
    const TCTypeInfo* written = g.out.GetTI();
    ASSERT_EQ(g.out.WriteSegment("blocks", blocks), 0);
    EXPECT_EQ(g.out.GetTI(), written); // the reserved block's record until dispatch
    ASSERT_TRUE(g.out.EndWriteSegments());
    EXPECT_EQ(g.in[0].PeekTI(), written); // the same record, now queued

    ASSERT_EQ(g.in[0].StartReadSegments(), 1);
    EXPECT_EQ(g.out.FreeList().GetCount(), 1);
    TCArray<Block*> view;
    ASSERT_EQ(g.in[0].ReadSegment(0, view), 1);
    const TCString& name = g.in[0].SegmentName(0);
    const TCTypeInfo* read = g.in[0].GetTI();
    EXPECT_EQ(g.in[0].StartReadSegments(), 0); // the act block is dropped, not the data
    EXPECT_EQ(static_cast<const int*>(view[0]->FindSegment("n", true)->m_pData)[0], 42);
    EXPECT_STREQ(name, "blocks");
    EXPECT_STREQ(read->Name, "signal");
}

// Tear-down is one pass over the graph, in any order, with no read in between: the
// producer destroys its blocks although inputs still queue or hold them, and an input's
// tear-down never touches the blocks it queues.
TEST(TCIOStreamLifetime, TearDownInAnyOrder)
{
    const std::vector<std::vector<int>> orders = {{0, 1, 2}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}};
    for (const std::vector<int>& order : orders) {
        auto out = std::make_unique<TCIOStream>();
        auto a = std::make_unique<TCIOStream>();
        auto b = std::make_unique<TCIOStream>();
        out->AddOutputStream(a->SetInputStream(3));
        out->AddOutputStream(b->SetInputStream(3));
        const int v[2] = {1, 2};
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(out->WriteIntVec(v, 2), 0);
        Block* held = nullptr;
        ASSERT_EQ(a->ExchangeBinary(&held, true), 1);
        ASSERT_EQ(b->RemoveContents(false), 1);
        std::unique_ptr<TCIOStream>* streams[3] = {&out, &a, &b};
        for (int k : order)
            streams[k]->reset(); // the destructor tears down
    }
    // DeleteStreams leaves a stream that can be set up again.
    Graph g(1);
    const int v = 3;
    ASSERT_EQ(g.out.WriteIntVec(&v, 1), 0);
    g.out.DeleteStreams();
    g.in[0].DeleteStreams();
    EXPECT_EQ(g.out.OwnedBlockCnt(), 0);
    EXPECT_EQ(g.out.GetFanCnt(), 0);
    EXPECT_EQ(g.in[0].GetFanIn(), nullptr);
    EXPECT_EQ(g.out.AddOutputStream(g.in[0].SetInputStream(3)), 1);
    ASSERT_EQ(g.out.WriteIntVec(&v, 1), 0);
    int got = 0;
    EXPECT_EQ(g.in[0].ReadIntVec(&got, nullptr), 1);
    EXPECT_EQ(got, 3);
}

// Ports keep their streams in arrays that move elements bytewise when they grow. Streams
// set up as inputs, and blocks with segments and type info, survive such a move.
TEST(TCIOStreamLifetime, StreamsAndBlocksSurviveBytewiseMoves)
{
    TCArray<TCIOStream> streams;
    streams.SetSize(2);
    streams[1].SetInputStream(5);
    streams.SetSize(200); // the buffer moves
    TCIOStream& out = streams[0];
    TCIOStream& in = streams[1];
    ASSERT_EQ(out.AddOutputStream(&in), 1);
    EXPECT_EQ(in.GetFanIn()->m_pOwner, &out);
    EXPECT_EQ(in.precision(), 5);
    const int v[2] = {6, 7};
    ASSERT_EQ(out.WriteIntVec(v, 2), 0);
    int got[2] = {};
    EXPECT_EQ(in.ReadIntVec(got, nullptr), 2);
    EXPECT_EQ(got[1], 7);

    TCArray<Block> blocks;
    blocks.SetSize(1);
    TCTypeInfo ti;
    ti.Name = "moved";
    blocks[0].SetTI(&ti);
    const int one = 1, x = 11;
    ASSERT_TRUE(blocks[0].SegmentForWrite("x", false)->SetData(TCIOStream::INT, 1, &one, &x, true));
    blocks.SetSize(300);
    EXPECT_STREQ(blocks[0].GetTI()->Name, "moved");
    EXPECT_EQ(static_cast<const int*>(blocks[0].FindSegment("x", true)->m_pData)[0], 11);
    ASSERT_EQ(out.WriteCopy(&blocks[0]), 1);
    EXPECT_STREQ(in.PeekTI()->Name, "moved");
}

#ifndef NDEBUG
// The queue's preconditions are checked in debug builds.
TEST(TCIOStreamLifetimeDeathTest, EmptyQueueAccessAsserts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TCIOStream::BlockQueue q;
    EXPECT_DEATH(q.GetHead(), "m_nCount > 0");
    EXPECT_DEATH(q.GetTail(), "m_nCount > 0");
    EXPECT_DEATH(q.RemoveHead(), "m_nCount > 0");
    Block b;
    q.AddTail(&b);
    POSITION pos = q.GetHeadPosition();
    q.RemoveHead();
    EXPECT_DEATH(q.GetAt(pos), "m_nCount");
}
#endif

} // namespace
