// ftoa and DoubleToHexString against the C library and std::to_chars on the same values.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCNumberFormat.h"

namespace {

// Measurement values: magnitudes 1e-3 .. 1e6, both signs.
const std::vector<double>& Values()
{
    static const std::vector<double> values = [] {
        std::mt19937_64 random(80);
        std::uniform_real_distribution<double> exponent(-3, 6);
        std::vector<double> v(4096);
        for (double& x : v)
            x = std::pow(10.0, exponent(random)) * (random() % 2 ? 1 : -1);
        return v;
    }();
    return values;
}

template <class Format>
void Run(benchmark::State& state, Format format)
{
    const std::vector<double>& values = Values();
    char buffer[1024];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format(values[i], buffer));
        benchmark::ClobberMemory();
        i = (i + 1) % values.size();
    }
}

void FtoaFixed6(benchmark::State& s) { Run(s, [](double v, char* b) { return ftoa(v, b, SF_FIXED, false, nullptr, 0, 6); }); }
void SnprintfFixed6(benchmark::State& s) { Run(s, [](double v, char* b) { return std::snprintf(b, 1024, "%.6f", v); }); }
void ToCharsFixed6(benchmark::State& s)
{
    Run(s, [](double v, char* b) { return std::to_chars(b, b + 1024, v, std::chars_format::fixed, 6).ptr; });
}

void FtoaSignificant15(benchmark::State& s) { Run(s, [](double v, char* b) { return ftoa(v, b, SF_SIGNIFICANT, false, nullptr, 0, 15); }); }
void SnprintfSignificant15(benchmark::State& s) { Run(s, [](double v, char* b) { return std::snprintf(b, 1024, "%.15g", v); }); }
void ToCharsSignificant15(benchmark::State& s)
{
    Run(s, [](double v, char* b) { return std::to_chars(b, b + 1024, v, std::chars_format::general, 15).ptr; });
}

void DoubleToHex(benchmark::State& s) { Run(s, [](double v, char* b) { return DoubleToHexString(b, 1024, v); }); }
void SnprintfHex(benchmark::State& s) { Run(s, [](double v, char* b) { return std::snprintf(b, 1024, "%a", v); }); }

} // namespace

BENCHMARK(FtoaFixed6);
BENCHMARK(SnprintfFixed6);
BENCHMARK(ToCharsFixed6);
BENCHMARK(FtoaSignificant15);
BENCHMARK(SnprintfSignificant15);
BENCHMARK(ToCharsSignificant15);
BENCHMARK(DoubleToHex);
BENCHMARK(SnprintfHex);
