// One block of doubles per iteration from a source port to a sink port, passed on in the
// middle either by a block buffer (read into a block, written out again, the block kept
// for the next one) or by a raw stream copy of the same block (the floor). Source write and
// sink removal are the same in both.
#include <benchmark/benchmark.h>

#include <vector>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using H = TCPortHelper;

struct Ends {
    Ends() : source(nullptr), sink(nullptr)
    {
        source.SetPort(PT_OUTPUT, 0, "Out", H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO);
        sink.SetPort(PT_INPUT, 0, "In", H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO);
    }
    ~Ends()
    {
        source.DeleteStreams();
        sink.DeleteStreams();
    }
    void* SinkStream() { return sink.SetInputStream(0, 0, 3); }
    H source, sink;
};

// B1: the block buffer in the middle; range: doubles per block.
void BM_BlockBuffer_WriteReadBack(benchmark::State& state)
{
    Ends e;
    H middle(nullptr);
    middle.SetPort(PT_INPUT, 0, "In", H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO);
    middle.SetPort(PT_OUTPUT, 0, "Out", H::DT_DOUBLE_ARRAY | H::DT_TYPEINFO);
    e.source.AddOutputStream(0, middle.SetInputStream(0, 0, 3));
    middle.AddOutputStream(0, e.SinkStream());
    TCBlockBuffer buffer;
    buffer.SetPortHelper(&middle);
    std::vector<double> v(size_t(state.range(0)), 1.5);
    for (auto _ : state) {
        v[0] += 1;
        e.source.WriteDblData(0, unsigned(v.size()), v.data());
        buffer.ReadBlock(0, false);
        benchmark::DoNotOptimize(buffer.WriteBlock(0, 0));
        buffer.RemoveAt(0, false);
        e.sink.RemoveBlocks(0, 0);
    }
    middle.DeleteStreams();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BlockBuffer_WriteReadBack)->Arg(1)->Arg(1024);

// B1 floor: the stream takes the block and a second stream writes a copy of it.
void BM_BlockBuffer_RawStreamCopy(benchmark::State& state)
{
    Ends e;
    TCIOStream in, out;
    e.source.AddOutputStream(0, in.SetInputStream(3));
    out.AddOutputStream(static_cast<TCIOStream*>(e.SinkStream()));
    std::vector<double> v(size_t(state.range(0)), 1.5);
    for (auto _ : state) {
        v[0] += 1;
        e.source.WriteDblData(0, unsigned(v.size()), v.data());
        in.RemoveBlock(true);
        benchmark::DoNotOptimize(out.WriteCopy(in.GetActBlock()));
        e.sink.RemoveBlocks(0, 0);
    }
    in.DeleteStreams();
    out.DeleteStreams();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BlockBuffer_RawStreamCopy)->Arg(1)->Arg(1024);

}  // namespace
