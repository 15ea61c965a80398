// A graph loaded, wired, run and torn down over and over in one process: no file handle and no
// module library stays open, and (under the leak checker) no memory is lost.
#include <gtest/gtest.h>

#include <dirent.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "GraphHost.h"
#include "HostTest.h"

namespace {

int OpenFiles()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.';
        closedir(dir);
    }
    return count - 1;  // the listing's own handle
}

int LoadedLibraries()
{
    int count = 0;
    dl_iterate_phdr([](dl_phdr_info*, size_t, void* n) { return ++*static_cast<int*>(n), 0; }, &count);
    return count;
}

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

bool LoadWireRunTearDown(const std::string& file, const ModuleSearch& search, Problems& problems)
{
    GraphFile graph;
    if (!graph.Load(file, problems))
        return false;
    HostConsole console;
    GraphHost host(graph, search, console);
    if (!host.Build(problems) || !host.Start(true, problems))
        return false;
    RunOptions options;
    options.blocks = 3;
    RunStats stats;
    const HostStatus status = host.Run(options, stats, problems);
    host.Stop(status == HS_OK, problems);
    return status == HS_OK && stats.cycles >= 3 && problems.Empty();
}

// FLOWDECK_RELOADS sets the count (the soak script's full run); the resident size is taken
// after the first tenth, when the allocator and the loader have their working sizes.
TEST(GraphHost, ReloadedManyTimesLeavesNoHandleOrLibraryBehind)
{
    if (!*FLOWDECK_SAMPLES)
        GTEST_SKIP() << "built without the sample modules";
    const char* count = std::getenv("FLOWDECK_RELOADS");
    const int reloads = count ? std::atoi(count) : 1000;
    const std::string chain = FLOWDECK_SOURCE "/host/tests/chain.xml";
    ModuleSearch search;
    search.folders = {FLOWDECK_SAMPLES, FLOWDECK_TEST_MODULES};
    const int files = OpenFiles(), libraries = LoadedLibraries();
    long warmResident = 0;
    for (int i = 0; i < reloads; ++i) {
        Problems problems;
        ASSERT_TRUE(LoadWireRunTearDown(chain, search, problems))
            << "reload " << i << ": " << (problems.Empty() ? "" : problems.Text(0));
        if (i == reloads / 10)
            warmResident = ResidentKiB();
    }
    EXPECT_EQ(OpenFiles(), files);
    EXPECT_EQ(LoadedLibraries(), libraries);
    std::printf("%d reloads: open files %d -> %d, loaded libraries %d -> %d, resident %ld KiB after %d -> %ld KiB\n",
                reloads, files, OpenFiles(), libraries, LoadedLibraries(), warmResident, reloads / 10 + 1,
                ResidentKiB());
}

}  // namespace
