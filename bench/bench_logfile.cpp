// TCLogFile against spdlog's basic_file_sink_mt, both writing every line with one
// write call and no flush to the disk, with one and two threads on one logger.
#include <benchmark/benchmark.h>

#include <spdlog/logger.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/basic_file_sink.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

#include "corekit80/foundation/TCLogFile.h"

namespace {

std::string FileName(const char* name) { return "/tmp/ck80_bench_" + std::to_string(getpid()) + "_" + name; }

TCLogFile* g_ours = nullptr;
std::shared_ptr<spdlog::logger> g_theirs;

void BM_TCLogFile(benchmark::State& state)
{
    const std::string path = FileName("tclogfile.log");
    if (state.thread_index() == 0) {
        g_ours = new TCLogFile;
        g_ours->Open(0, 0x7F, path.c_str());
    }
    int n = 0;
    for (auto _ : state)
        g_ours->Log(0, TCLogFile::LOG_NOTICE, "bench", "value %d of thread %d", ++n, state.thread_index());
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        delete g_ours;
        std::remove(path.c_str());
    }
}

void BM_SpdlogBasicFileSinkMt(benchmark::State& state)
{
    const std::string path = FileName("spdlog.log");
    if (state.thread_index() == 0) {
        auto sink = std::make_shared<spdlog::sinks::basic_file_sink_mt>(path, true);
        g_theirs = std::make_shared<spdlog::logger>("bench", sink);
        // The same line layout as TCLogFile's.
        g_theirs->set_formatter(std::make_unique<spdlog::pattern_formatter>(
            "%Y-%m-%d %H:%M:%S.%f, %5t, %n, %-9l, bench, %v", spdlog::pattern_time_type::local, "\r\n"));
        // Every line leaves the process with its own write call, as TCLogFile's do.
        g_theirs->flush_on(spdlog::level::trace);
    }
    int n = 0;
    for (auto _ : state)
        g_theirs->info("value {} of thread {}", ++n, state.thread_index());
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        g_theirs.reset();
        std::remove(path.c_str());
    }
}

BENCHMARK(BM_TCLogFile)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_SpdlogBasicFileSinkMt)->Threads(1)->Threads(2)->UseRealTime();

} // namespace
