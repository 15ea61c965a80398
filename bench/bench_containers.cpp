// Appending ints one at a time: TCArray against std::vector on the same counts,
// growing from empty and into room made beforehand.
#include <benchmark/benchmark.h>

#include <vector>

#include "corekit80/types/TCArray.h"

namespace {

void TCArrayAdd(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TCArray<int> a;
        for (int i = 0; i < n; ++i)
            a.Add(i);
        benchmark::DoNotOptimize(a.GetData());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// A grow-by of n makes the first Add allocate room for all n.
void TCArrayAddReserved(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TCArray<int> a;
        a.SetSize(0, n);
        for (int i = 0; i < n; ++i)
            a.Add(i);
        benchmark::DoNotOptimize(a.GetData());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void VectorPushBack(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<int> v;
        for (int i = 0; i < n; ++i)
            v.push_back(i);
        benchmark::DoNotOptimize(v.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void VectorPushBackReserved(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<int> v;
        v.reserve(n);
        for (int i = 0; i < n; ++i)
            v.push_back(i);
        benchmark::DoNotOptimize(v.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

BENCHMARK(TCArrayAdd)->Arg(1000)->Arg(1 << 20);
BENCHMARK(VectorPushBack)->Arg(1000)->Arg(1 << 20);
BENCHMARK(TCArrayAddReserved)->Arg(1000)->Arg(1 << 20);
BENCHMARK(VectorPushBackReserved)->Arg(1000)->Arg(1 << 20);
