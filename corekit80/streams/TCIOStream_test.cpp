// Tests of TCIOStream: connections, queues, free lists, status checks, copies, fan-out.
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCIOStreamGraph_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <vector>

namespace {

using Block = TCIOStream::Block;

std::vector<Block*> Queue(const TCIOStream& in)
{
    std::vector<Block*> q;
    const TCIOStream::BlockQueue& list = in.GetFanIn()->m_queue;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        q.push_back(list.GetNext(pos));
    return q;
}

std::vector<Block*> FreeList(const TCIOStream& out)
{
    std::vector<Block*> q;
    for (POSITION pos = out.FreeList().GetHeadPosition(); pos;)
        q.push_back(out.FreeList().GetNext(pos));
    return q;
}

TCTypeInfo WithState(TCBLOCKSTATUS s)
{
    TCTypeInfo ti;
    ti.State = s;
    ti.Timestamp = 1000.0;
    return ti;
}

// One output feeding inputs; writes one int per block.
struct Graph : StreamGraph {
    using StreamGraph::StreamGraph;
    // Writes v; a state other than -9 is forced onto the queued block's type info.
    int Write(int v, int state = -9)
    {
        TCTypeInfo ti = WithState(TCBLOCKSTATUS(state));
        if (state != -9)
            out.SetTI(&ti, false);
        int r = out.WriteIntVec(&v, 1);
        if (state != -9)
            in[0].GetFanIn()->m_queue.GetTail()->GetTI()->State = TCBLOCKSTATUS(state);
        return r;
    }
};

TEST(TCIOStream, Connection)
{
    TCIOStream out, a, b, plain;
    EXPECT_EQ(out.AddOutputStream(&plain), 0); // not an input
    EXPECT_EQ(out.AddOutputStream(nullptr), 0);
    EXPECT_EQ(a.SetInputStream(5), &a);
    EXPECT_EQ(a.precision(), 5);
    EXPECT_EQ(out.AddOutputStream(&a), 1);
    EXPECT_EQ(out.AddOutputStream(b.SetInputStream(2)), 2);
    EXPECT_EQ(out.GetFanCnt(), 2);
    EXPECT_EQ(out.GetFan(1), &b);
    EXPECT_EQ(out.GetFan(2), nullptr);
    EXPECT_EQ(a.GetFanCnt(), 1);
    EXPECT_EQ(a.GetFan(0), &a);
    EXPECT_EQ(a.GetFanIn()->m_pOwner, &out);
    EXPECT_EQ(plain.GetFanCnt(), 0);
    EXPECT_EQ(plain.GetFan(0), nullptr);
    EXPECT_EQ(TCIOStream().precision(), 3);
    EXPECT_EQ(TCIOStream().GetErrFan(), -1);
}

TEST(TCIOStream, NothingConnected)
{
    TCIOStream out;
    int v = 1;
    TCTypeInfo ti;
    EXPECT_EQ(out.WriteIntVec(&v, 1), 0);
    EXPECT_EQ(out.StartWriteSegments(), 0);
    EXPECT_EQ(out.SetTI(&ti, true), 0);
    EXPECT_EQ(out.WriteSegment("x", 1), -14);
    EXPECT_FALSE(out.EndWriteSegments());
    EXPECT_EQ(out.OwnedBlockCnt(), 0);
    EXPECT_EQ(out.RemoveContents(true), 0);
    EXPECT_EQ(out.ReadIntVec(&v, nullptr), 0);
}

// Random adds, removes and reserves, mostly with a wrapped head, against a deque; every
// step walks the ring both ways and by index.
TEST(TCIOStream, BlockQueueModel)
{
    std::mt19937 rng(80);
    std::vector<Block> pool(40);
    TCIOStream::BlockQueue q;
    std::deque<Block*> model;
    for (int step = 0; step < 3000; ++step) {
        switch (rng() % 7) {
        case 0: case 1: case 2:
            if (model.size() < pool.size()) {
                q.AddTail(&pool[rng() % pool.size()]);
                model.push_back(q.GetTail());
            }
            break;
        case 3: case 4:
            if (!model.empty()) {
                ASSERT_EQ(q.RemoveHead(), model.front());
                model.pop_front();
            }
            break;
        case 5:
            q.Reserve(int(rng() % 50));
            break;
        default:
            if (rng() % 20 == 0)
                q.RemoveAll(), model.clear();
        }
        ASSERT_EQ(q.GetCount(), int(model.size()));
        std::vector<Block*> fwd, back;
        for (POSITION pos = q.GetHeadPosition(); pos;)
            fwd.push_back(q.GetNext(pos));
        for (POSITION pos = q.GetTailPosition(); pos;)
            back.insert(back.begin(), q.GetPrev(pos));
        ASSERT_EQ(fwd, std::vector<Block*>(model.begin(), model.end()));
        ASSERT_EQ(back, fwd);
        for (int i = -1; i <= int(model.size()); ++i) {
            POSITION pos = q.FindIndex(i);
            ASSERT_EQ(pos ? q.GetAt(pos) : nullptr, i >= 0 && i < int(model.size()) ? model[i] : nullptr);
        }
    }
}

TEST(TCIOStream, SharedBlockReturnsToFreeList)
{
    Graph g(2);
    ASSERT_EQ(g.Write(7), 0);
    Block* b = Queue(g.in[0]).at(0);
    EXPECT_EQ(Queue(g.in[1]).at(0), b);
    EXPECT_EQ(b->m_nRefCount, 2);
    int v = 0;
    EXPECT_EQ(g.in[0].ReadIntVec(&v, nullptr), 1);
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(FreeList(g.out).empty());
    EXPECT_EQ(g.in[1].RemoveContents(false), 1);
    EXPECT_EQ(FreeList(g.out), std::vector<Block*>{b});
    ASSERT_EQ(g.Write(8), 0);
    EXPECT_EQ(Queue(g.in[0]).at(0), b);
    EXPECT_EQ(g.out.OwnedBlockCnt(), 1);
}

TEST(TCIOStream, FreeListIsFirstInFirstOut)
{
    Graph g(1);
    for (int i = 0; i < 3; ++i)
        g.Write(i);
    std::vector<Block*> order = Queue(g.in[0]);
    EXPECT_EQ(g.in[0].RemoveContents(true), 3);
    EXPECT_EQ(FreeList(g.out), order);
    for (int i = 0; i < 3; ++i)
        g.Write(i);
    EXPECT_EQ(Queue(g.in[0]), order);
    EXPECT_EQ(g.out.OwnedBlockCnt(), 3);
}

TEST(TCIOStream, ExchangeBinary)
{
    Graph g(1);
    Block* h = nullptr;
    EXPECT_EQ(g.in[0].ExchangeBinary(nullptr, true), 0);
    EXPECT_EQ(g.in[0].ExchangeBinary(&h, true), 0);
    g.Write(1);
    g.Write(2);
    std::vector<Block*> q = Queue(g.in[0]);
    EXPECT_EQ(g.in[0].ExchangeBinary(&h, true), 1);
    EXPECT_EQ(h, q[0]);
    EXPECT_EQ(h->m_nRefCount, 1);
    EXPECT_EQ(g.in[0].GetActBlock(), nullptr);
    EXPECT_EQ(g.in[0].ExchangeBinary(&h, true), 1); // releases the first
    EXPECT_EQ(h, q[1]);
    EXPECT_EQ(FreeList(g.out), std::vector<Block*>{q[0]});
    EXPECT_EQ(g.in[0].ExchangeBinary(&h, true), 0); // empty: h keeps its block
    EXPECT_EQ(h, q[1]);
    EXPECT_EQ(h->m_nRefCount, 1);
    EXPECT_EQ(g.in[0].ExchangeBinary(&h, false), 0);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(FreeList(g.out), q);

    // A stream without an input fan returns the held block to its producer.
    g.Write(3);
    EXPECT_EQ(g.in[0].ExchangeBinary(&h, true), 1);
    TCIOStream other;
    EXPECT_EQ(other.ExchangeBinary(&h, false), 0);
    EXPECT_EQ(FreeList(g.out).size(), 2u);
}

TEST(TCIOStream, StatusCheck)
{
    struct Case {
        std::vector<TCBLOCKSTATUS> queued;
        TCBLOCKSTATUS written;
        bool fix;
        int result;
        TCBLOCKSTATUS writtenAfter;
        std::vector<TCBLOCKSTATUS> queuedAfter;
    };
    const TCBLOCKSTATUS I = TCBS_INVALID, S = TCBS_START, B = TCBS_BUSY, P = TCBS_STOP, C = TCBS_COMPLETE;
    const Case cases[] = {
        {{P}, B, false, -4, B, {P}},
        {{C}, S, false, -4, S, {C}},
        {{S}, S, false, -4, S, {S}},
        {{B, B}, C, false, -4, C, {B, B}},
        {{S, B}, B, false, 0, B, {S, B}},
        {{}, C, false, 0, C, {}},
        {{C}, B, true, 0, P, {S}},
        {{P}, C, true, 0, P, {B}},
        {{B}, S, true, 0, B, {S}},
        {{B, B}, C, true, 0, P, {S, B}},
        {{S, B}, I, true, 0, B, {S, B}}, // INVALID is repaired to BUSY
        {{C, B}, C, true, 0, C, {C, B}}, // the last typed block is open, the first closed
    };
    for (const Case& c : cases) {
        Graph g(1);
        for (TCBLOCKSTATUS s : c.queued)
            ASSERT_EQ(g.Write(1, s), 0);
        TCTypeInfo ti = WithState(c.written);
        ti.Timestamp = 0;
        ti.Samplerate = -1;
        g.out.GetErrFan(); // forget conflicts of the set-up
        int r = g.out.SetTI(&ti, c.fix);
        EXPECT_EQ(r, c.result) << c.written;
        EXPECT_EQ(g.out.GetTI()->State, c.writtenAfter) << c.written;
        EXPECT_EQ(g.out.GetErrFan(), r < 0 ? 0 : -1);
        EXPECT_EQ(g.out.GetErrFan(), -1);
        if (c.fix) {
            EXPECT_GT(g.out.GetTI()->Timestamp, 0);
            EXPECT_EQ(g.out.GetTI()->Samplerate, 1.0);
        }
        std::vector<Block*> q = Queue(g.in[0]);
        for (size_t i = 0; i < q.size(); ++i)
            EXPECT_EQ(q[i]->GetTI()->State, c.queuedAfter[i]);
        // The block stays reserved with its type info; the next write fills it.
        int v = 5;
        EXPECT_EQ(g.out.WriteIntVec(&v, 1), 0);
        EXPECT_EQ(Queue(g.in[0]).back()->GetTI()->State, c.writtenAfter);
    }
}

TEST(TCIOStream, ErrorFanIsTheConflictingInput)
{
    Graph g(3);
    g.Write(1);
    g.Write(2, TCBS_STOP);
    g.in[0].RemoveContents(true);
    g.in[1].RemoveContents(true);
    TCTypeInfo ti = WithState(TCBS_BUSY);
    EXPECT_EQ(g.out.SetTI(&ti, false), -4);
    EXPECT_EQ(g.out.GetErrFan(), 2); // only in[2] still queues the STOP block
    EXPECT_EQ(g.out.GetTI()->State, TCBS_BUSY);
}

TEST(TCIOStream, PeekStatusAndTI)
{
    const TCBLOCKSTATUS S = TCBS_START, B = TCBS_BUSY, P = TCBS_STOP;
    struct Case { std::vector<int> states; int first, all; }; // -9: no type info
    const Case cases[] = {{{S, B, P}, S, TCBS_COMPLETE}, {{B, P}, B, P}, {{-9, B}, -1, B},
                          {{-1}, -1, -1}, {{}, -1, -1}, {{P, -9, S}, P, TCBS_COMPLETE}};
    for (const Case& c : cases) {
        Graph g(1);
        for (int s : c.states)
            g.Write(0, s);
        EXPECT_EQ(g.in[0].PeekStatus(false), c.first);
        EXPECT_EQ(g.in[0].PeekStatus(true), c.all);
        EXPECT_EQ(g.in[0].PeekTI() != nullptr, !c.states.empty() && c.states[0] != -9);
    }
    EXPECT_EQ(TCIOStream().PeekStatus(true), -1);
    EXPECT_EQ(TCIOStream().PeekTI(), nullptr);
}

TEST(TCIOStream, BlockCountsAndRemoveContents)
{
    Graph g(3);
    for (int i = 0; i < 3; ++i)
        g.Write(i);
    g.in[0].RemoveContents(true);
    g.in[1].RemoveContents(false);
    int fan = -1;
    EXPECT_EQ(g.out.GetBlockCnt(&fan), 3);
    EXPECT_EQ(fan, 2);
    g.in[2].RemoveContents(false);
    EXPECT_EQ(g.out.GetBlockCnt(&fan), 2);
    EXPECT_EQ(fan, 1);
    EXPECT_EQ(g.in[1].GetBlockCnt(&fan), 2);
    EXPECT_EQ(fan, 0);
    EXPECT_EQ(g.in[1].RemoveContents(true), 2);
    EXPECT_EQ(g.out.RemoveContents(true), 0);
    EXPECT_EQ(TCIOStream().GetBlockCnt(nullptr), 0);
}

TEST(TCIOStream, PeekBlockAndActBlock)
{
    Graph g(1);
    g.Write(1);
    g.Write(2);
    std::vector<Block*> q = Queue(g.in[0]);
    EXPECT_EQ(g.in[0].PeekBlock(1), 1);
    EXPECT_EQ(g.in[0].GetActBlock(), q[1]);
    EXPECT_EQ(q[1]->m_nRefCount, 1);
    EXPECT_EQ(g.in[0].PeekBlock(2), 0);
    EXPECT_EQ(g.in[0].GetActBlock(), nullptr);
    EXPECT_EQ(g.out.PeekBlock(0), 0);
    EXPECT_EQ(g.in[0].RemoveBlock(false), 1);
    EXPECT_EQ(q[0]->m_nRefCount, 1); // not released
    EXPECT_EQ(g.in[0].GetActBlock(true), q[0]);
    EXPECT_EQ(g.in[0].GetActBlock(), nullptr);
}

// A peek at the head block takes a short way; a peek at the same content further back in
// the queue takes the search. Both must give the same answers for every layout.
TEST(TCIOStream, PeekAtHeadAgreesWithPeekBehind)
{
    static const double d[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    static const int v[6] = {1, 2, 3, 4, 5, 6};
    static const TCString texts[2] = {"a", "b"};
    using DT = TCIOStream::DATATYPE;
    struct Layout {
        const char* what;
        DT type;
        std::vector<int> dims;
        const void* data;
        bool firstValid;  // the segment written by the block's simple write
        const char* more; // name of a further valid segment, or null
    };
    const Layout layouts[] = {
        {"vector", TCIOStream::DOUBLE, {5}, d, true, nullptr},
        {"int matrix", TCIOStream::INT, {2, 3}, v, true, nullptr},
        {"three extents", TCIOStream::DOUBLE, {2, 2, 2}, d, true, nullptr},
        {"no extents", TCIOStream::DOUBLE, {}, d, true, nullptr},
        {"texts", TCIOStream::STRING, {2}, texts, true, nullptr},
        {"pointer", TCIOStream::POINTER, {17}, d, true, nullptr},
        {"named after the first", TCIOStream::INT, {6}, v, true, "x"},
        {"first not valid", TCIOStream::DOUBLE, {4}, d, false, "x"},
        {"none valid", TCIOStream::DOUBLE, {4}, d, false, nullptr},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.what);
        Graph g(1);
        g.Write(0);
        g.Write(0);
        for (Block* b : Queue(g.in[0])) {
            TCIOStream::DataSegment* first = b->m_segments.GetData()[0].get();
            ASSERT_TRUE(first->SetData(l.type, int(l.dims.size()), l.dims.data(), l.data, false));
            first->m_bValid = l.firstValid;
            if (l.more) {
                ASSERT_TRUE(b->AddSegment(l.more)->SetData(TCIOStream::DOUBLE, 1, &l.dims[0], d, false));
            }
        }
        struct Seen {
            int r[5], rows[2], cols[2];
            const void* p[3];
        } at[2];
        for (int k = 0; k < 2; ++k) {
            Seen& s = at[k];
            std::fill(std::begin(s.rows), std::end(s.rows), -7);
            std::fill(std::begin(s.cols), std::end(s.cols), -7);
            const int* pi = nullptr;
            const double* pd = nullptr;
            const TCString* ps = nullptr;
            s.r[0] = g.in[0].PeekIntData(k, pi, &s.rows[0], &s.cols[0]);
            s.r[1] = g.in[0].PeekDblData(k, pd, &s.rows[1], &s.cols[1]);
            s.r[2] = g.in[0].PeekStrData(k, ps);
            s.r[3] = g.in[0].GetBlockLen(k, 0);
            s.r[4] = g.in[0].GetBlockLen(k, 1);
            s.p[0] = pi, s.p[1] = pd, s.p[2] = ps;
        }
        EXPECT_TRUE(std::equal(at[0].r, at[0].r + 5, at[1].r));
        EXPECT_TRUE(std::equal(at[0].rows, at[0].rows + 2, at[1].rows));
        EXPECT_TRUE(std::equal(at[0].cols, at[0].cols + 2, at[1].cols));
        EXPECT_TRUE(std::equal(at[0].p, at[0].p + 3, at[1].p));
    }
}

TEST(TCIOStream, CopyAndMove)
{
    Graph src(1), dst(1);
    TCTypeInfo ti = WithState(TCBS_START);
    src.out.SetTI(&ti, false);
    int v[3] = {1, 2, 3};
    src.out.WriteIntVec(v, 3);
    src.Write(4);

    // MoveBlock copies a queued block and leaves it queued; the new type info replaces.
    TCTypeInfo other = WithState(TCBS_COMPLETE);
    EXPECT_EQ(dst.out.MoveBlock(src.in[0], 0, &other, true), 1);
    EXPECT_EQ(dst.out.MoveBlock(src.in[0], 2, nullptr, true), 0);
    EXPECT_EQ(dst.out.MoveBlock(src.out, 1, nullptr, true), 0); // an output source: act block
    EXPECT_EQ(src.in[0].GetBlockCnt(nullptr), 2);
    EXPECT_EQ(dst.in[0].PeekTI()->State, TCBS_COMPLETE);
    int got[3] = {};
    int n = 3;
    EXPECT_EQ(dst.in[0].ReadIntVec(got, &n), 3);
    EXPECT_EQ(got[2], 3);

    // MoveBlocks takes the block off the source and sets the given status.
    EXPECT_EQ(dst.out.MoveBlocks(src.in[0], TCBS_STOP), 1);
    EXPECT_EQ(src.in[0].GetBlockCnt(nullptr), 1);
    EXPECT_EQ(dst.in[0].PeekTI()->State, TCBS_STOP);
    EXPECT_EQ(dst.out.MoveBlocks(src.in[0], TCBS_STOP), 1); // no type info: status unused
    EXPECT_EQ(dst.in[0].GetBlockCnt(nullptr), 2);
    EXPECT_EQ(dst.out.MoveBlocks(src.in[0], TCBS_STOP), 0);
    EXPECT_EQ(FreeList(src.out).size(), 2u);

    // WriteCopy checks without fix: a start after the queued STOP conflicts.
    Block b;
    EXPECT_EQ(dst.out.WriteCopy(nullptr), 0);
    TCTypeInfo start = WithState(TCBS_START);
    b.SetTI(&start);
    EXPECT_EQ(dst.out.WriteCopy(&b), -4);
    dst.in[0].RemoveContents(true);
    EXPECT_EQ(dst.out.WriteCopy(&b), 1); // the reserved block is reused
    EXPECT_EQ(dst.in[0].PeekStatus(false), TCBS_START);
}

TEST(TCIOStream, CopyBlockRefs)
{
    Graph g(2);
    g.Write(1);
    g.Write(2);
    g.in[1].RemoveContents(true);
    EXPECT_EQ(g.in[1].CopyBlockRefs(g.in[0]), 2);
    EXPECT_EQ(Queue(g.in[1]), Queue(g.in[0]));
    EXPECT_EQ(Queue(g.in[0])[0]->m_nRefCount, 2);
    EXPECT_EQ(g.out.CopyBlockRefs(g.in[0]), 0);
}

TEST(TCIOStream, Loopback)
{
    TCIOStream s;
    s.AddOutputStream(s.SetInputStream(3));
    int v = 42, got = 0;
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(s.WriteIntVec(&v, 1), 0);
        EXPECT_EQ(s.ReadIntVec(&got, nullptr), 1);
        EXPECT_EQ(got, 42);
    }
    // A block taken for reading is not written into as if it were reserved: the reserve
    // takes it from the free list and resets it.
    s.StartWriteSegments();
    s.WriteSegment("old", 1);
    s.EndWriteSegments();
    ASSERT_EQ(s.StartReadSegments(), 1);
    ASSERT_EQ(s.StartWriteSegments(), 1);
    EXPECT_EQ(s.SegmentCnt(), 0);
    s.WriteSegment("a", 1);
    s.EndWriteSegments();
    // Moving from itself keeps the source block alive while copying.
    EXPECT_EQ(s.MoveBlocks(s, TCBS_BUSY), 1);
    EXPECT_EQ(s.StartReadSegments(), 1);
    EXPECT_EQ(s.ReadSegment("a", got), 1);
    EXPECT_EQ(s.ReadSegment("old", got), 0);
    EXPECT_EQ(s.MoveBlock(s, 0, nullptr, false), 0);
    s.WriteIntVec(&v, 1);
    EXPECT_EQ(s.MoveBlock(s, 0, nullptr, false), 1);
    EXPECT_EQ(s.GetBlockCnt(nullptr), 2);
}

TEST(TCIOStream, DeleteStreams)
{
    Graph g(1);
    g.Write(1);
    g.out.DeleteStreams();
    EXPECT_EQ(g.out.OwnedBlockCnt(), 0);
    EXPECT_EQ(g.out.GetFanCnt(), 0);
    g.in[0].DeleteStreams();
    EXPECT_EQ(g.in[0].GetFanIn(), nullptr);
}

// Random operations on two producers and four inputs against a model of the queues,
// holders, counts and free lists.
TEST(TCIOStream, ModelBasedFanOut)
{
    std::mt19937 rng(20261205);
    TCIOStream p, m, in[3], j;
    p.AddOutputStream(in[0].SetInputStream(3));
    p.AddOutputStream(in[1].SetInputStream(3));
    in[2].SetInputStream(3);
    m.AddOutputStream(j.SetInputStream(3));
    TCIOStream* inputs[4] = {&in[0], &in[1], &in[2], &j};
    TCIOStream* owner[4] = {&p, &p, &p, &m};
    bool connected[4] = {true, true, false, true};

    std::map<const TCIOStream*, std::deque<Block*>> queue, freeList;
    std::map<TCIOStream*, Block*> holder;
    std::map<Block*, int> value;
    int next = 0;

    auto expectNewBlock = [&](TCIOStream* prod) {
        std::deque<Block*>& fl = freeList[prod];
        if (fl.empty())
            return prod->OwnedBlock(prod->OwnedBlockCnt() - 1);
        Block* b = fl.front();
        fl.pop_front();
        return b;
    };
    auto modelRelease = [&](Block* b, TCIOStream* prod, std::map<Block*, int>& counts) {
        if (--counts[b] == 0)
            freeList[prod].push_back(b);
    };
    std::map<Block*, int> counts;

    auto check = [&]() {
        for (int k = 0; k < 4; ++k) {
            std::vector<Block*> q = Queue(*inputs[k]);
            ASSERT_EQ(q, std::vector<Block*>(queue[inputs[k]].begin(), queue[inputs[k]].end()));
        }
        for (TCIOStream* prod : {&p, &m}) {
            std::vector<Block*> fl = FreeList(*prod);
            ASSERT_EQ(fl, std::vector<Block*>(freeList[prod].begin(), freeList[prod].end()));
            for (int i = 0; i < prod->OwnedBlockCnt(); ++i) {
                Block* b = prod->OwnedBlock(i);
                int places = 0;
                for (int k = 0; k < 4; ++k)
                    places += int(std::count(queue[inputs[k]].begin(), queue[inputs[k]].end(), b));
                for (auto& [s, h] : holder)
                    places += h == b;
                ASSERT_EQ(b->m_nRefCount, places);
                ASSERT_EQ(counts[b], places);
                ASSERT_EQ(std::count(fl.begin(), fl.end(), b), places == 0 ? 1 : 0);
            }
        }
    };

    for (int step = 0; step < 4000; ++step) {
        int k = int(rng() % 4);
        TCIOStream* s = inputs[k];
        switch (rng() % 9) {
        case 0:
        case 1: { // write
            TCIOStream* prod = rng() % 4 ? &p : &m;
            int v = next++;
            bool any = false;
            for (int f = 0; f < 4; ++f)
                any |= connected[f] && owner[f] == prod;
            ASSERT_EQ(prod->WriteIntVec(&v, 1), 0);
            if (!any)
                break;
            Block* b = expectNewBlock(prod);
            value[b] = v;
            for (int f = 0; f < 4; ++f)
                if (connected[f] && owner[f] == prod)
                    queue[inputs[f]].push_back(b), counts[b]++;
            break;
        }
        case 2: { // read
            int got = -1;
            int r = s->ReadIntVec(&got, nullptr);
            ASSERT_EQ(r, queue[s].empty() ? 0 : 1);
            if (r) {
                Block* b = queue[s].front();
                queue[s].pop_front();
                ASSERT_EQ(got, value[b]);
                modelRelease(b, owner[k], counts);
            }
            break;
        }
        case 3: { // hold the next block
            Block*& h = holder[s];
            Block* was = h;
            int r = s->ExchangeBinary(&h, true);
            ASSERT_EQ(r, queue[s].empty() ? 0 : 1);
            if (r) {
                ASSERT_EQ(h, queue[s].front());
                queue[s].pop_front();
                if (was)
                    modelRelease(was, owner[k], counts);
            }
            break;
        }
        case 4: { // let the held block go
            Block*& h = holder[s];
            Block* was = h;
            ASSERT_EQ(s->ExchangeBinary(&h, false), 0);
            if (was)
                modelRelease(was, owner[k], counts);
            break;
        }
        case 5: { // remove one or all
            bool all = rng() % 2;
            Block* head = queue[s].empty() ? nullptr : queue[s].front();
            int n = s->RemoveContents(all);
            int want = all ? int(queue[s].size()) : std::min<int>(1, int(queue[s].size()));
            ASSERT_EQ(n, want);
            ASSERT_EQ(s->GetActBlock(), all ? nullptr : head);
            for (int i = 0; i < n; ++i) {
                modelRelease(queue[s].front(), owner[k], counts);
                queue[s].pop_front();
            }
            break;
        }
        case 6: { // copy references between inputs of p
            if (k == 3)
                break;
            TCIOStream* from = &in[rng() % 3];
            if (from == s || queue[s].size() > 20)
                break;
            std::deque<Block*> add = queue[from];
            ASSERT_EQ(s->CopyBlockRefs(*from), int(queue[s].size() + add.size()));
            for (Block* b : add)
                queue[s].push_back(b), counts[b]++;
            break;
        }
        case 7: { // move a block of p's inputs through m
            if (k == 3)
                break;
            int r = m.MoveBlocks(*s, TCBS_BUSY);
            ASSERT_EQ(r, queue[s].empty() ? 0 : 1);
            if (r) {
                Block* b = queue[s].front();
                queue[s].pop_front();
                Block* copy = expectNewBlock(&m);
                value[copy] = value[b];
                queue[&j].push_back(copy);
                counts[copy]++;
                modelRelease(b, &p, counts);
            }
            break;
        }
        case 8: // connect late
            if (!connected[2] && step > 1000) {
                p.AddOutputStream(&in[2]);
                connected[2] = true;
            }
            break;
        }
        check();
        if (HasFatalFailure())
            FAIL() << "step " << step;
    }
    for (int k = 0; k < 4; ++k) {
        inputs[k]->RemoveContents(true);
        Block* h = holder[inputs[k]];
        inputs[k]->ExchangeBinary(&h, false);
    }
    EXPECT_EQ(FreeList(p).size(), size_t(p.OwnedBlockCnt()));
    EXPECT_EQ(FreeList(m).size(), size_t(m.OwnedBlockCnt()));
    EXPECT_LT(p.OwnedBlockCnt(), 200);
}

} // namespace
