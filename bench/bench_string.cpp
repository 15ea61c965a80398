// TCString against std::string (and snprintf / memmem) on the same data.
#include <corekit80/types/TCString.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kTarget = 1 << 20;
const char kPiece[17] = "0123456789abcdef";

void TCString_Append16(benchmark::State& state)
{
    const bool reserve = state.range(0) != 0;
    for (auto _ : state) {
        TCString s;
        if (reserve)
            s.GetBuffer(kTarget);
        while (s.GetLength() < kTarget)
            s.Append(kPiece, 16);
        benchmark::DoNotOptimize(static_cast<const char*>(s));
    }
}
BENCHMARK(TCString_Append16)->Arg(0)->Arg(1)->ArgName("reserve");

void StdString_Append16(benchmark::State& state)
{
    const bool reserve = state.range(0) != 0;
    for (auto _ : state) {
        std::string s;
        if (reserve)
            s.reserve(kTarget);
        while (s.size() < size_t(kTarget))
            s.append(kPiece, 16);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(StdString_Append16)->Arg(0)->Arg(1)->ArgName("reserve");

// Appending alone: the room was made once, and emptying keeps it. (A new TCString buffer is
// zero-filled, which a fresh std::string reserve does not do; the cases above include that.)
void TCString_AppendIntoRoom(benchmark::State& state)
{
    TCString s;
    s.GetBuffer(kTarget);
    for (auto _ : state) {
        s.SetLength(0);
        while (s.GetLength() < kTarget)
            s.Append(kPiece, 16);
        benchmark::DoNotOptimize(static_cast<const char*>(s));
    }
}
BENCHMARK(TCString_AppendIntoRoom);

void StdString_AppendIntoRoom(benchmark::State& state)
{
    std::string s;
    s.reserve(kTarget);
    for (auto _ : state) {
        s.clear();
        while (s.size() < size_t(kTarget))
            s.append(kPiece, 16);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(StdString_AppendIntoRoom);

void TCString_Format(benchmark::State& state)
{
    TCString s;
    int i = 0;
    for (auto _ : state) {
        s.Format("%s=%d %g", "gain", i, 2.5 * i);
        ++i;
        benchmark::DoNotOptimize(static_cast<const char*>(s));
    }
}
BENCHMARK(TCString_Format);

void Snprintf_Format(benchmark::State& state)
{
    char buf[1025];
    int i = 0;
    for (auto _ : state) {
        std::snprintf(buf, sizeof buf, "%s=%d %g", "gain", i, 2.5 * i);
        ++i;
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(Snprintf_Format);

// 64 KiB of text with the pattern near the end and a few times in between.
std::string Haystack()
{
    std::string h;
    for (int i = 0; h.size() < 65536; ++i)
        h += (i % 997 == 996) ? "needle;" : "hay stack, ";
    return h + "final needle";
}

void TCString_Find(benchmark::State& state)
{
    const TCString h(Haystack().c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(h.Find("final needle"));
}
BENCHMARK(TCString_Find);

void StdString_Find(benchmark::State& state)
{
    const std::string h = Haystack();
    for (auto _ : state)
        benchmark::DoNotOptimize(h.find("final needle"));
}
BENCHMARK(StdString_Find);

void Memmem_Find(benchmark::State& state)
{
    const std::string h = Haystack();
    for (auto _ : state)
        benchmark::DoNotOptimize(memmem(h.data(), h.size(), "final needle", 12));
}
BENCHMARK(Memmem_Find);

void TCString_Replace(benchmark::State& state)
{
    const TCString h(Haystack().c_str());
    for (auto _ : state) {
        TCString s(h);
        benchmark::DoNotOptimize(s.Replace("needle", "pin"));
    }
}
BENCHMARK(TCString_Replace);

void StdString_Replace(benchmark::State& state)
{
    const std::string h = Haystack();
    for (auto _ : state) {
        std::string s(h), out;
        size_t from = 0;
        for (size_t p = s.find("needle"); p != std::string::npos; p = s.find("needle", from)) {
            out.append(s, from, p - from).append("pin");
            from = p + 6;
        }
        out.append(s, from);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(StdString_Replace);

std::string Binary4K()
{
    std::string b(4096, '\0');
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = char(i * 131);
    return b;
}

void TCString_Copy4K(benchmark::State& state)
{
    const std::string b = Binary4K();
    const TCString s(b.data(), int(b.size()));
    for (auto _ : state) {
        TCString copy(s);
        benchmark::DoNotOptimize(static_cast<const char*>(copy));
    }
}
BENCHMARK(TCString_Copy4K);

void StdString_Copy4K(benchmark::State& state)
{
    const std::string s = Binary4K();
    for (auto _ : state) {
        std::string copy(s);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(StdString_Copy4K);

} // namespace
