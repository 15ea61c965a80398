// flowdeck run, check and new: graphs loaded, wired, run or written.
#include "Commands.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>

namespace {
int Fail(const Problems& problems)
{
    problems.Print(stderr);
    return problems.Status();
}

void OnInterrupt(int)
{
    GraphHost::Interrupt();
    std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program at once
}
}

int RunGraph(const CommandLine& args)
{
    Problems problems;
    GraphFile graph;
    if (!graph.Load(args.target, problems))
        return Fail(problems);
    const ModuleSearch search = ModuleSearch::FromEnvironment(args.modulePath);
    HostConsole console;
    GraphHost host(graph, search, console);
    if (!host.Build(problems) || !host.Start(true, problems))
        return Fail(problems);
    RunOptions options = args.run;
    options.progress = !args.quiet && isatty(STDOUT_FILENO);
    auto previous = std::signal(SIGINT, OnInterrupt);
    RunStats stats;
    const HostStatus status = host.Run(options, stats, problems);
    std::signal(SIGINT, previous);
    host.Stop(status != HS_MODULE_FAILED, problems);
    if (!problems.Empty())
        return Fail(problems);
    const std::string file = args.target.substr(args.target.rfind('/') + 1);
    std::printf("%s: %zu modules, %zu lines, %lld cycles, %lld blocks in %.3f s%s\n", file.c_str(),
                graph.modules.size(), host.Lines(), stats.cycles, stats.blocks, stats.seconds,
                status == HS_INTERRUPTED ? " (interrupted)" : "");
    return status;
}

int CheckGraph(const CommandLine& args)
{
    Problems problems;
    GraphFile graph;
    const bool loaded = graph.Load(args.target, problems);
    // A file that was read at all is checked further: every problem, not just the first.
    if (!loaded && graph.modules.empty() && graph.lines.empty())
        return Fail(problems);
    const ModuleSearch search = ModuleSearch::FromEnvironment(args.modulePath);
    HostConsole console;
    GraphHost host(graph, search, console);
    if (host.Build(problems) && problems.Empty())
        host.Start(false, problems);
    if (!problems.Empty())
        return Fail(problems);
    std::printf("%s: %zu modules, %zu lines: no problems found\n", args.target.c_str(), graph.modules.size(),
                host.Lines());
    return HS_OK;
}

int NewGraph(const CommandLine& args)
{
    Problems problems;
    struct stat st;
    if (::stat(args.target.c_str(), &st) == 0) {
        problems.Add(HS_OUTPUT, args.target + " exists already; flowdeck new does not overwrite a graph");
        return Fail(problems);
    }
    // A generator through a gain into a CSV file and a plot, from the sample library.
    GraphFile graph;
    graph.path = args.target;
    graph.libraries = {"libflowdeck_samples.so"};
    graph.modules = {{0, "Generator", 0, "Generator", nullptr},
                     {0, "Gain", 0, "Gain", nullptr},
                     {0, "CsvWriter", 0, "CsvWriter", nullptr},
                     {0, "SvgPlot", 0, "SvgPlot", nullptr}};
    graph.lines = {{"Generator", "Out", "Gain", "In"},
                   {"Gain", "Out", "CsvWriter", "In"},
                   {"Gain", "Out", "SvgPlot", "In"}};
    // The modules' settings with their defaults, when the library is at hand.
    const ModuleSearch search = ModuleSearch::FromEnvironment(args.modulePath);
    HostConsole console;
    GraphHost host(graph, search, console);
    Problems building;
    if (!host.Build(building)) {
        std::fprintf(stderr, "note: written without module settings (the modules take their defaults):\n");
        building.Print(stderr);
    }
    if (!graph.Save(args.target, true, [&](size_t m, ArchiveParser& s) { host.StoreSettings(m, s); }, problems))
        return Fail(problems);
    std::printf("%s: a new graph of %zu modules and %zu lines\n", args.target.c_str(), graph.modules.size(),
                graph.lines.size());
    return HS_OK;
}
