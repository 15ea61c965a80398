// Profile values read and written per second (wall time: writes wait for the disk), in
// both scopes, on files of a scratch folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "corekit80/foundation/TCProfile.h"

namespace {

// Points both scopes at fresh files for the life of the program.
struct ScratchProfiles {
    ScratchProfiles()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ck80benchXXXXXX").string();
        root = mkdtemp(pattern.data());
        setenv("COREKIT80_USER_PROFILE", (root + "/user.db").c_str(), 1);
        setenv("COREKIT80_MACHINE_PROFILE", (root + "/machine.db").c_str(), 1);
        for (bool user : {false, true}) {
            (user ? SaveUserProfileInt : SaveMachineProfileInt)("Bench", "Number", 42);
            (user ? SaveUserProfileString : SaveMachineProfileString)("Bench", "Text", "a setting of some length");
        }
    }
    ~ScratchProfiles() { std::filesystem::remove_all(root); }
    std::string root;
};
ScratchProfiles s_profiles;

template <bool User>
void BM_LoadInt(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize((User ? LoadUserProfileInt : LoadMachineProfileInt)("Bench", "Number", 0));
    state.SetItemsProcessed(state.iterations());
}

template <bool User>
void BM_LoadString(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize((User ? LoadUserProfileString : LoadMachineProfileString)("Bench", "Text"));
    state.SetItemsProcessed(state.iterations());
}

template <bool User>
void BM_SaveInt(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
        (User ? SaveUserProfileInt : SaveMachineProfileInt)("Bench", "Counter", ++i);
    state.SetItemsProcessed(state.iterations());
}

template <bool User>
void BM_SaveString(benchmark::State& state)
{
    // Each save changes the text, so every transaction reaches the disk.
    char text[32];
    int i = 0;
    for (auto _ : state) {
        snprintf(text, sizeof text, "another setting %d", ++i);
        (User ? SaveUserProfileString : SaveMachineProfileString)("Bench", "Written", text);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_LoadInt<true>)->Name("LoadUserProfileInt")->UseRealTime();
BENCHMARK(BM_LoadInt<false>)->Name("LoadMachineProfileInt")->UseRealTime();
BENCHMARK(BM_LoadString<true>)->Name("LoadUserProfileString")->UseRealTime();
BENCHMARK(BM_LoadString<false>)->Name("LoadMachineProfileString")->UseRealTime();
BENCHMARK(BM_SaveInt<true>)->Name("SaveUserProfileInt")->UseRealTime();
BENCHMARK(BM_SaveInt<false>)->Name("SaveMachineProfileInt")->UseRealTime();
BENCHMARK(BM_SaveString<true>)->Name("SaveUserProfileString")->UseRealTime();
BENCHMARK(BM_SaveString<false>)->Name("SaveMachineProfileString")->UseRealTime();

}  // namespace
