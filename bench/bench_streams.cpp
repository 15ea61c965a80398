// Blocks per second from one output to N inputs, against a plain floor (a ring of
// reference-counted block pointers with the same fill and read) and memcpy bandwidth.
// BM_GstPeer_Stream is the stream side of bench/gstreamer.py, which runs it next to GStreamer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "corekit80/streams/TCIOStream.h"

namespace {

// The floor: fixed rings of block pointers, one per reader plus the free ring; a block
// carries a reference count and a buffer of the largest size. Like the stream, it makes a
// block only when the free ring is empty, so both keep reusing the same block: a floor that
// cycled through 64 ready blocks would fill blocks that are cold in the cache and would
// never wait for a block to come back.
class FloorRing {
public:
    struct Block {
        int refs = 0;
        int n = 0;
        std::vector<double> data;
    };

    FloorRing(int readers, int maxValues) : m_maxValues(maxValues), m_queues(readers)
    {
        m_blocks.reserve(kSize); // blocks never move
    }

    void Write(const double* v, int n)
    {
        Block* b = m_free.head == m_free.tail ? NewBlock() : m_free.Pop();
        std::memcpy(b->data.data(), v, sizeof(double) * n);
        b->n = n;
        b->refs = static_cast<int>(m_queues.size());
        for (Ring& q : m_queues)
            q.Push(b);
    }
    int Read(int reader, double* out)
    {
        Block* b = m_queues[reader].Pop();
        int n = b->n;
        std::memcpy(out, b->data.data(), sizeof(double) * n);
        Release(b);
        return n;
    }
    const double* Peek(int reader, int& n) const
    {
        const Block* b = m_queues[reader].Head();
        n = b->n;
        return b->data.data();
    }
    void Drop(int reader) { Release(m_queues[reader].Pop()); }

private:
    static constexpr unsigned kSize = 64;
    struct Ring {
        Block* slots[kSize];
        unsigned head = 0, tail = 0;
        void Push(Block* b) { slots[tail++ % kSize] = b; }
        Block* Pop() { return slots[head++ % kSize]; }
        Block* Head() const { return slots[head % kSize]; }
    };
    Block* NewBlock()
    {
        m_blocks.emplace_back().data.resize(m_maxValues);
        return &m_blocks.back();
    }
    void Release(Block* b)
    {
        if (--b->refs == 0)
            m_free.Push(b);
    }

    int m_maxValues;
    std::vector<Block> m_blocks;
    Ring m_free;
    std::vector<Ring> m_queues;
};

// Source and target buffers aligned to a cache line for every contestant, so that the
// figures do not depend on where malloc happened to place them.
struct Buffer {
    explicit Buffer(size_t values) : p(static_cast<double*>(std::aligned_alloc(64, (values * 8 + 63) / 64 * 64)))
    {
        std::fill(p, p + values, 1.5);
    }
    ~Buffer() { std::free(p); }
    double* data() { return p; }
    double& operator[](size_t i) { return p[i]; }
    double* p;
};

struct StreamGraph {
    TCIOStream out;
    std::vector<TCIOStream> in;
    explicit StreamGraph(int n) : in(n)
    {
        for (TCIOStream& s : in)
            out.AddOutputStream(s.SetInputStream(3));
    }
};

// kPeek looks at the queued block and then drops it (two calls); kView takes the block and
// points into it (ReadDblMat, one call). Neither copies; the floor does the same for both.
enum Reading { kCopy, kPeek, kView };

void StreamBlocks(benchmark::State& state, int values, Reading reading)
{
    const int readers = static_cast<int>(state.range(0));
    StreamGraph g(readers);
    Buffer src(values), dst(values);
    for (auto _ : state) {
        src[0] += 1;
        g.out.WriteDblVec(src.data(), values);
        for (TCIOStream& in : g.in) {
            if (reading == kCopy) {
                int n = values;
                in.ReadDblVec(dst.data(), &n);
            } else if (reading == kPeek) {
                const double* p = nullptr;
                in.PeekDblData(0, p, nullptr, nullptr);
                benchmark::DoNotOptimize(p[values - 1]);
                in.RemoveContents(false);
            } else {
                double* p;
                int rows, cols;
                in.ReadDblMat(&p, rows, cols);
                benchmark::DoNotOptimize(p[values - 1]);
            }
        }
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * values * int64_t(sizeof(double)));
}

void FloorBlocks(benchmark::State& state, int values, Reading reading)
{
    const int readers = static_cast<int>(state.range(0));
    FloorRing ring(readers, values);
    Buffer src(values), dst(values);
    for (auto _ : state) {
        src[0] += 1;
        ring.Write(src.data(), values);
        for (int r = 0; r < readers; ++r) {
            if (reading == kCopy) {
                ring.Read(r, dst.data());
            } else {
                int n;
                const double* p = ring.Peek(r, n);
                benchmark::DoNotOptimize(p[n - 1]);
                ring.Drop(r);
            }
        }
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * values * int64_t(sizeof(double)));
}

void BM_OneValue_Stream(benchmark::State& s) { StreamBlocks(s, 1, kCopy); }
void BM_OneValue_Floor(benchmark::State& s) { FloorBlocks(s, 1, kCopy); }
void BM_4KiB_Copy_Stream(benchmark::State& s) { StreamBlocks(s, 512, kCopy); }
void BM_4KiB_Copy_Floor(benchmark::State& s) { FloorBlocks(s, 512, kCopy); }
void BM_4KiB_Peek_Stream(benchmark::State& s) { StreamBlocks(s, 512, kPeek); }
void BM_4KiB_Peek_Floor(benchmark::State& s) { FloorBlocks(s, 512, kPeek); }
void BM_4KiB_View_Stream(benchmark::State& s) { StreamBlocks(s, 512, kView); }
void BM_64KiB_Peek_Stream(benchmark::State& s) { StreamBlocks(s, 8192, kPeek); }
void BM_64KiB_Peek_Floor(benchmark::State& s) { FloorBlocks(s, 8192, kPeek); }

#define FANOUTS ->Arg(1)->Arg(2)->Arg(8)->Arg(16)
BENCHMARK(BM_OneValue_Stream) FANOUTS;
BENCHMARK(BM_OneValue_Floor) FANOUTS;
BENCHMARK(BM_4KiB_Copy_Stream) FANOUTS;
BENCHMARK(BM_4KiB_Copy_Floor) FANOUTS;
BENCHMARK(BM_4KiB_Peek_Stream) FANOUTS;
BENCHMARK(BM_4KiB_Peek_Floor) FANOUTS;
BENCHMARK(BM_4KiB_View_Stream) FANOUTS;
BENCHMARK(BM_64KiB_Peek_Stream) FANOUTS;
BENCHMARK(BM_64KiB_Peek_Floor) FANOUTS;

// The stream side of the GStreamer comparison (bench/gstreamer.py): a fixed count of blocks of
// the given bytes to N peeking readers, on the wall clock like the other process. Arguments:
// readers, bytes per block.
void BM_GstPeer_Stream(benchmark::State& s) { StreamBlocks(s, static_cast<int>(s.range(1)) / 8, kPeek); }
BENCHMARK(BM_GstPeer_Stream)->ArgsProduct({{1, 2, 8, 16}, {8, 4096}})->Iterations(500000)->UseRealTime();

// The bandwidth of one copy of a block's bytes: the writer's share of every block.
void BM_Memcpy(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0));
    Buffer src(bytes / 8 + 1), dst(bytes / 8 + 1);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(BM_Memcpy)->Arg(8)->Arg(4096)->Arg(65536);

} // namespace
