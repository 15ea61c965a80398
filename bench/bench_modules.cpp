// Fetch of a module whose one input holds a block, through TCBaseModule and its port
// helper, against checking the same queue on the stream directly.
#include <benchmark/benchmark.h>

#include <vector>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

class OneInput : public TCBaseModule {
public:
    explicit OneInput(int inputs) : TCBaseModule(0)
    {
        m_pPortHelper = new TCPortHelper(this);
        for (int i = 0; i < inputs; ++i)
            m_pPortHelper->SetPort(PT_INPUT, unsigned(i), "In", "DOUBLE[]", nullptr, true);
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Bench"; }
};

// A module with inputs connected to one source each; a block waits at the last input.
struct Graph {
    explicit Graph(int inputs) : module(inputs), sources(inputs)
    {
        for (int i = 0; i < inputs; ++i)
            sources[i].AddOutputStream(static_cast<TCIOStream*>(module.SetInputStream(i, 0, 3)));
        const double v = 1;
        sources[inputs - 1].WriteDblVec(&v, 1);
        last = static_cast<TCIOStream*>(module.SetInputStream(inputs - 1, 0, 3));
    }
    ~Graph()
    {
        module.DeleteStreams();
        for (TCIOStream& s : sources)
            s.DeleteStreams();
    }
    OneInput module;
    std::vector<TCIOStream> sources;
    TCIOStream* last;
};

void BM_Fetch_Module(benchmark::State& state)
{
    Graph g(int(state.range(0)));
    TCBaseModule* m = &g.module;
    m->Init();
    for (auto _ : state)
        benchmark::DoNotOptimize(m->Fetch());
}
BENCHMARK(BM_Fetch_Module)->Arg(1)->Arg(8);

// The stream's own count, an exported call.
void BM_Fetch_DirectCount(benchmark::State& state)
{
    Graph g(1);
    TCIOStream* s = g.last;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(s->GetBlockCnt(nullptr) > 0 ? 0 : 1);
    }
}
BENCHMARK(BM_Fetch_DirectCount);

// The queue itself, inline: the floor.
void BM_Fetch_DirectQueue(benchmark::State& state)
{
    Graph g(1);
    TCIOStream* s = g.last;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s);
        const TCIOStream::Fan* fan = s->GetFanIn();
        benchmark::DoNotOptimize(fan && !fan->m_queue.IsEmpty() ? 0 : 1);
    }
}
BENCHMARK(BM_Fetch_DirectQueue);

}  // namespace
