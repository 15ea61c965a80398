// flowdeck: runs, checks and writes signal graphs of module libraries.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Commands.h"

namespace {
const char USAGE[] =
    "usage: flowdeck run GRAPH [--blocks N] [--seconds S] [--quiet] [--module-path DIR]\n"
    "       flowdeck check GRAPH [--module-path DIR]\n"
    "       flowdeck describe LIBRARY [--module-path DIR]\n"
    "       flowdeck new GRAPH\n"
    "       flowdeck params GRAPH MODULE [--set PATH=VALUE]... [--module-path DIR]\n"
    "\n"
    "  run       loads the module libraries of the graph, wires and runs its modules until\n"
    "            every source has finished (or N blocks per source, S seconds, Ctrl-C)\n"
    "  check     loads and wires the graph without running it; prints every problem\n"
    "  describe  lists the modules of a library: ports, type texts, settings\n"
    "  new       writes a starter graph (generator, gain, CSV writer, SVG plot)\n"
    "  params    prints the property dialog of a module of the graph, one line per item;\n"
    "            with --set, edits it (PATH: captions down to the item joined by \"/\",\n"
    "            e.g. \"General properties/Gain=2.5\") and saves the graph\n"
    "\n"
    "  --quiet        no progress line (there is none either when output is no terminal)\n"
    "  --module-path  a folder (or colon-separated folders) to find module libraries in;\n"
    "                 looked in after the graph's own folder, before FLOWDECK_MODULE_PATH\n"
    "                 and the installed <libdir>/flowdeck\n"
    "\n"
    "exit status:\n"
    "    0  success              7  type mismatch on a line\n"
    "    1  bad command line     8  obligatory input without a line\n"
    "    2  bad graph file       9  cycle without a source module\n"
    "    3  library not found   10  a module refused to start\n"
    "    4  no module factory   11  a module failed while running\n"
    "    5  unknown module type 12  an output could not be written\n"
    "    6  no such port      130  interrupted by Ctrl-C\n";

int Usage(const std::string& why)
{
    std::fprintf(stderr, "flowdeck: %s (see flowdeck --help)\n", why.c_str());
    return HS_USAGE;
}

bool Number(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && !*end && value >= 0;
}
}

int main(int argc, char** argv)
{
    CommandLine args;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i], value;
        // Options take their value as the next argument or after '=' (--blocks=5).
        const size_t eq = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const bool valued = arg == "--blocks" || arg == "--seconds" || arg == "--module-path" || arg == "--set";
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return HS_OK;
        }
        if (valued && eq == std::string::npos) {
            if (i + 1 >= argc)
                return Usage(arg + " needs a value");
            value = argv[++i];
        } else if (!valued && eq != std::string::npos) {
            return Usage(arg + " takes no value");
        }
        double number = 0;
        if (arg == "--blocks") {
            if (!Number(value.c_str(), number) || number < 1 || number != double((long long)number))
                return Usage("--blocks takes a whole number of blocks, at least 1");
            args.run.blocks = (long long)number;
        } else if (arg == "--seconds") {
            if (!Number(value.c_str(), number))
                return Usage("--seconds takes a number of seconds");
            args.run.seconds = number;
        } else if (arg == "--module-path") {
            args.modulePath.emplace_back(value);
        } else if (arg == "--set") {
            args.sets.emplace_back(value);
        } else if (arg == "--quiet") {
            args.quiet = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else if (args.command.empty()) {
            args.command = arg;
        } else if (args.target.empty()) {
            args.target = arg;
        } else if (args.command == "params" && args.module.empty()) {
            args.module = arg;
        } else {
            return Usage("one " + std::string(args.command == "describe" ? "library" : "graph") + " at a time");
        }
    }
    if (args.command.empty())
        return Usage("no command given");
    if (args.target.empty())
        return Usage(args.command + " needs a " + (args.command == "describe" ? "library" : "graph file"));
    if (args.command == "run")
        return RunGraph(args);
    if (args.command == "check")
        return CheckGraph(args);
    if (args.command == "describe")
        return DescribeLibrary(args);
    if (args.command == "new")
        return NewGraph(args);
    if (args.command == "params")
        return args.module.empty() ? Usage("params needs a module") : ShowParams(args);
    return Usage("unknown command " + args.command);
}
