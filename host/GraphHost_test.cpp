// flowdeck run and check on the test modules' graphs: outputs, and every bad input with its
// one line and its exit status.
#include <gtest/gtest.h>

#include <libxml/parser.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "HostStatus.h"
#include "HostTest.h"

namespace {

struct Variant {
    const char* name;
    std::function<void(GraphFile&, TestSettings&)> change;
    HostStatus run;    // exit status of run
    HostStatus check;  // exit status of check
    const char* says;  // in the one line on standard error
};

TEST(GraphHost, BadInputsGiveOneLineAndTheirStatus)
{
    const Variant variants[] = {
        {"fine", [](GraphFile&, TestSettings&) {}, HS_OK, HS_OK, ""},
        {"missing library", [](GraphFile& g, TestSettings&) { g.libraries[0] = "libnothere.so"; },
         HS_LIBRARY_MISSING, HS_LIBRARY_MISSING, "module library 0: libnothere.so not found"},
        {"no factory",
         [](GraphFile& g, TestSettings&) { g.libraries[0] = FLOWDECK_TEST_MODULES "/libflowdeck_nofactory.so"; },
         HS_NO_FACTORY, HS_NO_FACTORY, "does not export TCCreateModule"},
        {"unknown type", [](GraphFile& g, TestSettings&) { g.modules[1].type = "Scaler"; }, HS_UNKNOWN_TYPE,
         HS_UNKNOWN_TYPE, "module Scale: library"},
        {"no such port", [](GraphFile& g, TestSettings&) { g.lines[0].sourcePort = "Output"; }, HS_NO_PORT,
         HS_NO_PORT, "line Counter.Output -> Scale.In: module Counter has no output 'Output' (outputs: Out)"},
        {"second line into an input",
         [](GraphFile& g, TestSettings&) { g.lines.push_back({"Counter", "Out", "Sink", "In"}); }, HS_NO_PORT,
         HS_NO_PORT, "line Counter.Out -> Sink.In: input Sink.In has a line already"},
        {"type mismatch",
         [](GraphFile& g, TestSettings&) {
             g.modules[0] = {0, "Words", 0, "Counter", nullptr};
         },
         HS_TYPE_MISMATCH, HS_TYPE_MISMATCH, "line Counter.Out -> Scale.In: the types do not fit: UBYTE[][]"},
        {"unwired obligatory input", [](GraphFile& g, TestSettings&) { g.lines.erase(g.lines.begin()); },
         HS_UNWIRED_INPUT, HS_UNWIRED_INPUT, "module Scale: input 'In' has no line and is obligatory"},
        {"cycle without a source",
         [](GraphFile& g, TestSettings&) {
             g.modules.push_back({0, "Scale", 2, "Scale2", nullptr});
             g.lines = {{"Scale", "Out", "Scale2", "In"}, {"Scale2", "Out", "Scale", "In"}};
             g.modules.erase(g.modules.begin());
             g.modules.erase(g.modules.begin() + 1);
         },
         HS_CYCLE, HS_CYCLE, "cycle without a source module: Scale -> Scale2 -> Scale"},
        {"Init -3", [](GraphFile& g, TestSettings&) { g.modules[2].type = "Refuser"; }, HS_INIT_REFUSED,
         HS_INIT_REFUSED, "module Sink refused to start: no calibration for this probe"},
        {"throws", [](GraphFile& g, TestSettings&) { g.modules[2].type = "Thrower"; }, HS_MODULE_FAILED, HS_OK,
         "module Sink threw in Fetch: probe disconnected"},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        ScratchFolder folder;
        GraphFile graph;
        TestSettings settings;
        CounterScaleSink(graph, settings, folder.Path());
        v.change(graph, settings);
        ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "graph.xml", true));
        const FlowdeckResult check = Flowdeck("check graph.xml", folder.Path());
        EXPECT_EQ(check.status, v.check) << check.err;
        EXPECT_NE(check.err.find(v.check == HS_OK ? "" : v.says), std::string::npos) << check.err;
        EXPECT_FALSE(Exists(folder / "out.txt")) << "check runs nothing";
        const FlowdeckResult run = Flowdeck("run graph.xml", folder.Path());
        EXPECT_EQ(run.status, v.run) << run.err;
        if (v.run != HS_OK) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_EQ(run.err.rfind("error: ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(v.says), std::string::npos) << run.err;
            EXPECT_FALSE(Exists(folder / "out.txt"));
            EXPECT_FALSE(Exists(folder / "out.txt.part"));
        }
    }
}
// Runs to their end, or cut short, and the graph in each file form.
TEST(GraphHost, RunsWriteTheirOutputs)
{
    const struct {
        const char* args;
        int blocks;  // of the counter, 0 endless
        bool xml;
        const char* golden;  // out.txt; null: any non-empty content
    } runs[] = {
        {"run graph", 3, true, "0 2\n4 6\n8 10\n"},
        {"run graph --quiet", 3, false, "0 2\n4 6\n8 10\n"},
        {"run graph --blocks 2", 0, true, "0 2\n4 6\n"},
        {"run graph --blocks=2", 3, true, "0 2\n4 6\n"},
        {"run graph --seconds 0.05", 0, true, nullptr},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.args);
        ScratchFolder folder;
        GraphFile graph;
        TestSettings settings;
        CounterScaleSink(graph, settings, folder.Path());
        settings.lower_bound("Counter")->second.text = std::to_string(r.blocks);
        ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "graph", r.xml));
        const FlowdeckResult run = Flowdeck(r.args, folder.Path());
        EXPECT_EQ(run.status, HS_OK) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("graph: 3 modules, 2 lines, "), std::string::npos) << run.out;
        const std::string out = ReadFile(folder / "out.txt");
        if (r.golden)
            EXPECT_EQ(out, r.golden);
        else
            EXPECT_EQ(out.substr(0, 9), "0 2\n4 6\n8");
    }
}

// The demo graph with the sample modules: the CSV file against the sine it holds, the
// statistics line, the SVG picture as XML.
TEST(GraphHost, DemoGraphRunsTheSampleModules)
{
    if (!*FLOWDECK_SAMPLES)
        GTEST_SKIP() << "built without the sample modules";
    ScratchFolder folder;
    const FlowdeckResult run =
        Flowdeck("run " FLOWDECK_SOURCE "/examples/graphs/demo.xml --module-path " FLOWDECK_SAMPLES, folder.Path());
    ASSERT_EQ(run.status, HS_OK) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* line : {"Statistics: Sine packet of 10 blocks: 1000 values, mean ",
                             ", min -1, max 1, rms 0.707107\n", "CsvWriter: wrote demo.csv (1000 rows)\n",
                             "SvgPlot: wrote demo.svg (1000 values)\n", "demo.xml: 5 modules, 4 lines, "})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " in " << run.out;
    std::istringstream csv(ReadFile(folder / "demo.csv"));
    std::string line;
    for (const char* golden : {"# signal: Sine", "# unit: V", "# sample rate: 1000 1/s", "time [s],Sine [V]"}) {
        std::getline(csv, line);
        EXPECT_EQ(line, golden);
    }
    int rows = 0;
    for (; std::getline(csv, line); ++rows) {
        double t = 0, v = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf", &t, &v), 2) << line;
        EXPECT_NEAR(t, rows / 1000.0, 1e-9);
        EXPECT_NEAR(v, std::sin(2 * M_PI * 5 * t), 1e-5) << line;  // amplitude 2, gain 0.5
    }
    EXPECT_EQ(rows, 1000);
    xmlDocPtr svg = xmlReadFile((folder / "demo.svg").c_str(), nullptr, XML_PARSE_NONET);
    ASSERT_NE(svg, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(xmlDocGetRootElement(svg)->name), "svg");
    xmlFreeDoc(svg);
    const std::string picture = ReadFile(folder / "demo.svg");
    EXPECT_NE(picture.find("Sine"), std::string::npos);
    EXPECT_NE(picture.find("[V]"), std::string::npos);
}

TEST(GraphHost, CheckListsEveryProblem)
{
    ScratchFolder folder;
    GraphFile graph;
    TestSettings settings;
    CounterScaleSink(graph, settings, folder.Path());
    graph.modules[2].type = "Basin";
    graph.lines[0].targetPort = "Input";
    ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "graph.xml", true));
    const FlowdeckResult check = Flowdeck("check graph.xml", folder.Path());
    EXPECT_EQ(check.status, HS_UNKNOWN_TYPE);
    EXPECT_EQ(std::count(check.err.begin(), check.err.end(), '\n'), 2) << check.err;
    EXPECT_NE(check.err.find("module Scale has no input 'Input' (inputs: In)"), std::string::npos) << check.err;
}

TEST(GraphHost, CommandLine)
{
    ScratchFolder folder;
    const struct {
        const char* args;
        int status;
        const char* says;
    } lines[] = {
        {"", HS_USAGE, "no command given"},
        {"run", HS_USAGE, "run needs a graph file"},
        {"walk g.xml", HS_USAGE, "unknown command walk"},
        {"run g.xml --blocks 0", HS_USAGE, "--blocks takes a whole number"},
        {"run g.xml --seconds", HS_USAGE, "--seconds needs a value"},
        {"run g.xml --fast", HS_USAGE, "unknown option --fast"},
        {"run g.xml --quiet=1", HS_USAGE, "--quiet takes no value"},
        {"--help", HS_OK, "130  interrupted by Ctrl-C"},
        {"run g.xml", HS_GRAPH_FILE, "error: cannot read graph file g.xml"},
        {"describe libflowdeck_testmodules.so --module-path " FLOWDECK_TEST_MODULES, HS_OK,
         "Counter (source)\n  output 0 Out: "},
        {"describe libflowdeck_testmodules.so --module-path " FLOWDECK_TEST_MODULES, HS_OK,
         "  settings:\n    1: Blocks: 3\n    2: Size: 2\n"},
        {"describe libnothere.so", HS_LIBRARY_MISSING, "error: module library: libnothere.so not found"},
    };
    for (const auto& l : lines) {
        const FlowdeckResult r = Flowdeck(l.args, folder.Path());
        EXPECT_EQ(r.status, l.status) << l.args;
        EXPECT_NE((r.out + r.err).find(l.says), std::string::npos) << l.args << ": " << r.out << r.err;
    }
}
}  // namespace
