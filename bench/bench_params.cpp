// Parameter texts of 1 MB parsed and built (MB/s), against a plain split of the same text
// into lines as the floor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "corekit80/archive/TCProcessParameters.h"

namespace {

// Sections of 20 parameters: integers, doubles, plain and quoted strings, names without
// value, and a comment line now and then.
std::string MakeText(size_t bytes)
{
    std::string text;
    for (int s = 0; text.size() < bytes; ++s) {
        text += "[Channel " + std::to_string(s) + "]\r\n# acquisition settings\r\n";
        for (int k = 0; k < 20; ++k) {
            const std::string name = "param_" + std::to_string(k);
            switch (k % 5) {
            case 0: text += name + "=" + std::to_string(s * 37 + k) + "\r\n"; break;
            case 1: text += name + "=" + std::to_string(s) + ".125\r\n"; break;
            case 2: text += name + "=C:/data/run_" + std::to_string(s) + "/file.dat\r\n"; break;
            case 3: text += name + "=\"volts, as measured\r\nat the input\"\r\n"; break;
            default: text += name + "\r\n"; break;
            }
        }
    }
    return text;
}

const std::string& Text()
{
    static const std::string text = MakeText(1 << 20);
    return text;
}

void BM_ParamsParse(benchmark::State& state)
{
    TCProcessParameters params;
    for (auto _ : state)
        benchmark::DoNotOptimize(params.ParseParamString(Text().c_str()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Text().size()));
}

// The parameters of the text written into an empty object, one insert and one value each.
void BM_ParamsBuild(benchmark::State& state)
{
    TCProcessParameters source;
    source.ParseParamString(Text().c_str());
    size_t bytes = 0;
    for (auto _ : state) {
        TCProcessParameters params;
        for (int i = 0; i < source.GetParamCount(); ++i) {
            const int j = params.InsertParameter(source.GetParamName(i), source.GetParamSection(i), true);
            switch (source.GetParamValType(i)) {
            case TCProcessParameters::PVT_INTEGER: params.SetParamValInt(j, source.GetParamValInt(i)); break;
            case TCProcessParameters::PVT_DOUBLE: params.SetParamValDbl(j, source.GetParamValDbl(i), SF_AUTO, 0); break;
            case TCProcessParameters::PVT_STRING: params.SetParamValStr(j, source.GetParamValStr(i)); break;
            default: break;
            }
        }
        bytes = std::strlen(params.BuildParamString());
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

// The floor: each line's start and length, as any line-based reader finds them first.
void BM_ParamsLineSplit(benchmark::State& state)
{
    std::vector<std::pair<size_t, size_t>> lines;
    const std::string& text = Text();
    for (auto _ : state) {
        lines.clear();
        for (size_t start = 0; start < text.size();) {
            const void* found = std::memchr(text.data() + start, '\n', text.size() - start);
            const size_t end = found ? size_t(static_cast<const char*>(found) - text.data()) : text.size();
            lines.emplace_back(start, end - start);
            start = end + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

} // namespace

BENCHMARK(BM_ParamsParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParamsBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParamsLineSplit)->Unit(benchmark::kMillisecond);
