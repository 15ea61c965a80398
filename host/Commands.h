#pragma once

// The commands of flowdeck: run, check, describe, new, params.

#include <string>
#include <vector>

#include "GraphHost.h"
#include "HostStatus.h"

struct CommandLine {
    std::string command;
    std::string target;  // the graph file or the library
    RunOptions run;
    bool quiet = false;
    std::vector<std::string> modulePath;
    std::string module;             // params: the module's symbol name
    std::vector<std::string> sets;  // params: the edits "PATH=VALUE"
};

// Each prints its results and problems and returns the exit status.
int RunGraph(const CommandLine& args);
int CheckGraph(const CommandLine& args);
int DescribeLibrary(const CommandLine& args);
int NewGraph(const CommandLine& args);
int ShowParams(const CommandLine& args);
