// Bound variables written and read by address (TCBaseModuleEx Write/Read) against the port
// helper's typed calls on the same ports and data: one block per iteration.
#include <benchmark/benchmark.h>

#include "corekit80/modules/TCBaseModuleEx.h"
#include "corekit80/modules/TCPortHelper.h"

namespace {

// Port 0 carries one double ("DOUBLE"), port 1 an array of doubles ("DOUBLE[]"), both with
// type information as bound variables declare them.
class Bound : public TCBaseModuleEx {
public:
    explicit Bound(PORTTYPE type) : TCBaseModuleEx(0)
    {
        if (type == PT_INPUT) {
            Input("One", one);
            Input("Many", many);
        } else {
            Output("One", one);
            Output("Many", many);
        }
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Bench"; }
    using TCBaseModuleEx::Read;
    using TCBaseModuleEx::Write;

    double one = 1.5;
    TCArray<double, double> many;
};

// A writer and a reader, both lines drawn and the modules started as a host does it.
struct Pair {
    Pair() : writer(PT_OUTPUT), reader(PT_INPUT)
    {
        for (int port = 0; port < 2; ++port) {
            void* stream = reader.SetInputStream(port, 0, 3);
            reader.AddLine(PT_INPUT, port);
            writer.AddLine(PT_OUTPUT, port);
            writer.AddOutputStream(port, stream);
        }
        for (TCBaseModule* m : {static_cast<TCBaseModule*>(&writer), static_cast<TCBaseModule*>(&reader)}) {
            m->ComputeValidationData(CF_HOST);
            m->Init();
            m->GetMessageA(44, 5);
            m->GetMessageA(46, 1);
        }
    }
    ~Pair()
    {
        for (TCBaseModule* m : {static_cast<TCBaseModule*>(&writer), static_cast<TCBaseModule*>(&reader)}) {
            m->GetMessageA(46, 0);
            m->GetMessageA(44, 6);
            m->Done();
            m->DeleteStreams();
        }
    }
    Bound writer;
    Bound reader;
};

// B3: Write(&x) and Read(&x); range 1 the double, else an array of that many.
void BM_BaseEx_WriteRead(benchmark::State& state)
{
    Pair p;
    const int values = int(state.range(0));
    p.writer.many.SetSize(values);
    for (int i = 0; i < values; ++i)
        p.writer.many[i] = 1.5;
    void* out = values == 1 ? static_cast<void*>(&p.writer.one) : &p.writer.many;
    void* in = values == 1 ? static_cast<void*>(&p.reader.one) : &p.reader.many;
    for (auto _ : state) {
        p.writer.one += 1;
        p.writer.many[0] += 1;
        p.writer.Write(out);
        p.reader.Read(in);
        benchmark::DoNotOptimize(p.reader.one);
        benchmark::DoNotOptimize(p.reader.many.GetData());
    }
    state.SetItemsProcessed(state.iterations());
}

// B2 on the same ports: WriteDblData and ReadDblData.
void BM_BaseEx_PortHelper(benchmark::State& state)
{
    Pair p;
    const unsigned values = unsigned(state.range(0));
    const unsigned port = values == 1 ? 0 : 1;
    TCPortHelper& w = *p.writer.GetPortHelper();
    TCPortHelper& r = *p.reader.GetPortHelper();
    TCArray<double, double> src, dst;
    src.SetSize(int(values));
    dst.SetSize(int(values));
    for (double& v : src)
        v = 1.5;
    for (auto _ : state) {
        src[0] += 1;
        w.WriteDblData(port, values, src.GetData());
        unsigned n = values;
        r.ReadDblData(port, n, dst.GetData());
        benchmark::DoNotOptimize(dst.GetData());
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_BaseEx_WriteRead)->Arg(1)->Arg(1024);
BENCHMARK(BM_BaseEx_PortHelper)->Arg(1)->Arg(1024);

}  // namespace
