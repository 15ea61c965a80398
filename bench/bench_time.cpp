// TCFormatTime against the C library's localtime_r + strftime on the same times.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <random>
#include <vector>

#include "corekit80/foundation/TCFormatTime.h"

namespace {

const std::vector<double>& Times()
{
    static const std::vector<double> times = [] {
        std::mt19937_64 rng(1);
        std::uniform_real_distribution<double> when(1.6e12, 1.8e12); // 2020 ... 2027, ms
        std::vector<double> v(4096);
        for (double& t : v)
            t = when(rng);
        return v;
    }();
    return times;
}

struct FormatPair {
    const char* ours;
    const char* theirs;
};

constexpr FormatPair kFormats[] = {
    {"%yyyy-%MM-%dd %hh:%mm:%ss", "%Y-%m-%d %H:%M:%S"},
    {"%dayEn, %d %MonEn %yyyy, %HH:%mm %PP", "%A, %-d %B %Y, %I:%M %p"},
};

void BM_TCFormatTime(benchmark::State& state)
{
    const FormatPair& f = kFormats[state.range(0)];
    const TCFormatTime format(f.ours);
    const std::vector<double>& times = Times();
    char buffer[128];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.Format(buffer, sizeof buffer, times[i++ & 4095]));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(f.ours);
}

void BM_Strftime(benchmark::State& state)
{
    const FormatPair& f = kFormats[state.range(0)];
    const std::vector<double>& times = Times();
    char buffer[128];
    size_t i = 0;
    for (auto _ : state) {
        const time_t seconds = time_t(times[i++ & 4095] / 1000.0);
        tm t;
        localtime_r(&seconds, &t);
        benchmark::DoNotOptimize(strftime(buffer, sizeof buffer, f.theirs, &t));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(f.theirs);
}

BENCHMARK(BM_TCFormatTime)->Arg(0)->Arg(1);
BENCHMARK(BM_Strftime)->Arg(0)->Arg(1);

} // namespace
