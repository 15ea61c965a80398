// Typed port writes and reads through the port helper against the raw stream calls they
// wrap, on the same data: one block per iteration, written once and read at every fan.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

class Port : public TCBaseModule {
public:
    Port(PORTTYPE type, const char* base, bool typeInfo) : TCBaseModule(0)
    {
        m_pPortHelper = new TCPortHelper(this);
        m_pPortHelper->SetPort(type, 0, type == PT_INPUT ? "In" : "Out", base, nullptr, typeInfo);
    }
    TCPortHelper& Helper() { return *m_pPortHelper; }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Bench"; }
};

// One writer module whose output feeds the input of each reader module, wired and started
// as a host does it.
struct Chain {
    Chain(int readers, const char* base, bool typeInfo) : writer(PT_OUTPUT, base, typeInfo)
    {
        for (int i = 0; i < readers; ++i) {
            Port& r = *reader.emplace_back(std::make_unique<Port>(PT_INPUT, base, typeInfo));
            void* stream = r.SetInputStream(0, 0, 3);
            r.AddLine(PT_INPUT, 0);
            writer.AddLine(PT_OUTPUT, 0);
            writer.AddOutputStream(0, stream);
        }
        for (TCBaseModule* m : Modules()) {
            m->ComputeValidationData(CF_HOST);
            m->Init();
            m->GetMessageA(44, 5);
            m->GetMessageA(46, 1);
        }
    }
    ~Chain()
    {
        for (TCBaseModule* m : Modules()) {
            m->GetMessageA(46, 0);
            m->GetMessageA(44, 6);
            m->Done();
            m->DeleteStreams();
        }
    }
    std::vector<TCBaseModule*> Modules()
    {
        std::vector<TCBaseModule*> all{&writer};
        for (auto& r : reader)
            all.push_back(r.get());
        return all;
    }
    Port writer;
    std::vector<std::unique_ptr<Port>> reader;
};

// B1: the stream calls alone, on streams wired to each other directly. With type information
// the writer hands a record to the stream before each block and each reader keeps a copy of
// the record of the block it took, as the port helper does.
void RawDbl(benchmark::State& state, bool typeInfo)
{
    const int values = int(state.range(0));
    TCIOStream out;
    std::vector<TCIOStream> in(size_t(state.range(1)));
    for (TCIOStream& s : in)
        out.AddOutputStream(s.SetInputStream(3));
    std::vector<double> src(values, 1.5), dst(values);
    TCTypeInfo ti, last;
    ti.Name = "Out";
    ti.Samplerate = 1000;
    for (auto _ : state) {
        src[0] += 1;
        if (typeInfo) {
            ti.Timestamp += 1;
            ti.State = TCBS_COMPLETE;
            out.SetTI(&ti, false);
        }
        out.WriteDblVec(src.data(), values);
        for (TCIOStream& s : in) {
            int n = values;
            s.ReadDblVec(dst.data(), &n);
            if (typeInfo)
                last = *s.GetTI();
        }
        benchmark::DoNotOptimize(dst[values - 1]);
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_Raw_DblVec(benchmark::State& state) { RawDbl(state, false); }
void BM_Raw_DblVec_TypeInfo(benchmark::State& state) { RawDbl(state, true); }

// B2: the typed port calls, with or without type information on the line.
void TypedDbl(benchmark::State& state, bool typeInfo)
{
    const unsigned values = unsigned(state.range(0));
    Chain g(int(state.range(1)), "DOUBLE[]", typeInfo);
    std::vector<double> src(values, 1.5), dst(values);
    for (auto _ : state) {
        src[0] += 1;
        g.writer.Helper().WriteDblData(0, values, src.data());
        for (auto& r : g.reader) {
            unsigned n = values;
            r->Helper().ReadDblData(0, n, dst.data());
        }
        benchmark::DoNotOptimize(dst[values - 1]);
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_Typed_DblData(benchmark::State& state) { TypedDbl(state, false); }
void BM_Typed_DblData_TypeInfo(benchmark::State& state) { TypedDbl(state, true); }

#define CK80_SHAPES ->Args({1, 1})->Args({1, 2})->Args({1024, 1})->Args({1024, 2})
BENCHMARK(BM_Raw_DblVec) CK80_SHAPES;
BENCHMARK(BM_Raw_DblVec_TypeInfo) CK80_SHAPES;
BENCHMARK(BM_Typed_DblData) CK80_SHAPES;
BENCHMARK(BM_Typed_DblData_TypeInfo) CK80_SHAPES;

// B4: eight named double segments per block, written and read by name.
void BM_MultiType_8Named(benchmark::State& state)
{
    static const char* const names[] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    Chain g(1, "MultiType", false);
    TCPortHelper& w = g.writer.Helper();
    TCPortHelper& r = g.reader[0]->Helper();
    double v = 0;
    for (auto _ : state) {
        v += 1;
        for (const char* name : names)
            w.WriteMultitypeDbl(0, v, name);
        w.EndWriteMultitype(0);
        r.StartReadMultitype(0);
        double sum = 0, x = 0;
        for (const char* name : names) {
            r.ReadMultitypeDbl(0, name, x);
            sum += x;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MultiType_8Named);

}  // namespace
