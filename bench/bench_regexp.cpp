// TCRegExp against PCRE2 on the same patterns and texts: collecting every match,
// a single yes/no search, and the cost of the static forms, which compile each call.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "corekit80/foundation/TCRegExp.h"

namespace {

const char* const kPatterns[] = {"[0-9]+", "\\w+@\\w+\\.com", "(?:ab|cd)+e"};

// Words, numbers and the odd address; the same text for both engines.
std::string MakeText(size_t size)
{
    std::mt19937 rng(42);
    const char* words[] = {"abcde", "cdab", "value", "42", "7", "x", "ab@cd.com", "e", "  "};
    std::string text;
    while (text.size() < size)
        text += std::string(words[rng() % 9]) + ' ';
    text.resize(size);
    return text;
}

TCString Tc(const std::string& s) { return TCString(s.data(), static_cast<int>(s.size())); }

struct Pcre2 {
    pcre2_code* code;
    pcre2_match_data* data;
    explicit Pcre2(const char* pattern)
    {
        int error;
        PCRE2_SIZE offset;
        code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0,
                             &error, &offset, nullptr);
        data = pcre2_match_data_create_from_pattern(code, nullptr);
    }
    ~Pcre2()
    {
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }
    int Match(const std::string& text, size_t start)
    {
        return pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), start, 0,
                           data, nullptr);
    }
};

// Every match, each attempt starting where the previous match ended. PCRE2 copies
// each match; TCRegExp also keeps prefix, suffix and groups as texts.
void TCRegExpFindAll(benchmark::State& state)
{
    const std::string text = MakeText(static_cast<size_t>(state.range(1)));
    const TCString t = Tc(text);
    TCRegExp re(kPatterns[state.range(0)], TCRegExp::ECMAScript);
    re.SetStoreResults(true);
    for (auto _ : state) {
        re.Find(t);
        benchmark::DoNotOptimize(re.GetMatchResults().GetSize());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(1));
    state.SetLabel(std::to_string(re.GetMatchResults().GetSize()) + " matches");
}

void Pcre2FindAll(benchmark::State& state)
{
    const std::string text = MakeText(static_cast<size_t>(state.range(1)));
    Pcre2 re(kPatterns[state.range(0)]);
    int count = 0;
    for (auto _ : state) {
        count = 0;
        size_t start = 0;
        while (start <= text.size() && re.Match(text, start) > 0) {
            const PCRE2_SIZE* v = pcre2_get_ovector_pointer(re.data);
            std::string match(text, v[0], v[1] - v[0]);
            benchmark::DoNotOptimize(match.data());
            ++count;
            start = v[1] > v[0] ? v[1] : v[1] + 1;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(1));
    state.SetLabel(std::to_string(count) + " matches");
}

// One yes/no search for something that is not there: the whole text is scanned.
void TCRegExpFindNone(benchmark::State& state)
{
    const TCString t = Tc(MakeText(static_cast<size_t>(state.range(0))));
    TCRegExp re("[0-9]+zz", TCRegExp::ECMAScript);
    for (auto _ : state)
        benchmark::DoNotOptimize(re.Find(t));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void Pcre2FindNone(benchmark::State& state)
{
    const std::string text = MakeText(static_cast<size_t>(state.range(0)));
    Pcre2 re("[0-9]+zz");
    for (auto _ : state)
        benchmark::DoNotOptimize(re.Match(text, 0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// The static form compiles its pattern on every call; the text is short.
void TCRegExpStaticFind(benchmark::State& state)
{
    const TCString text = "mail ab@cd.com";
    const TCString pattern = kPatterns[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(TCRegExp::Find(text, pattern));
}

void Pcre2CompileAndFind(benchmark::State& state)
{
    const std::string text = "mail ab@cd.com";
    for (auto _ : state) {
        Pcre2 re(kPatterns[state.range(0)]);
        benchmark::DoNotOptimize(re.Match(text, 0));
    }
}

void AllPatterns(benchmark::internal::Benchmark* b)
{
    for (int p = 0; p < 3; ++p)
        for (int size : {1024, 16384})
            b->Args({p, size});
}

} // namespace

// Long texts are matched on a helper thread, whose time the calling thread's CPU clock
// misses: both engines are timed on the wall clock.
BENCHMARK(TCRegExpFindAll)->Apply(AllPatterns)->UseRealTime();
BENCHMARK(Pcre2FindAll)->Apply(AllPatterns)->UseRealTime();
BENCHMARK(TCRegExpFindNone)->Arg(1024)->Arg(16384)->UseRealTime();
BENCHMARK(Pcre2FindNone)->Arg(1024)->Arg(16384)->UseRealTime();
BENCHMARK(TCRegExpStaticFind)->DenseRange(0, 2)->UseRealTime();
BENCHMARK(Pcre2CompileAndFind)->DenseRange(0, 2)->UseRealTime();
