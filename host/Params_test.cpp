// flowdeck params on the test modules' graph: a module's dialog as text, edits saved into
// the graph, and edits refused with the graph left alone; the demo graph's gain edited and run.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "HostStatus.h"
#include "HostTest.h"

TEST(Params, ShowsAndEditsAModulesDialog)
{
    ScratchFolder folder;
    GraphFile graph;
    TestSettings settings;
    CounterScaleSink(graph, settings, folder.Path());
    ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "graph.xml", true));
    const char dialog[] = "0 1 \"Scaling\" enabled=1\n"
                          "0.0 4 \"Factor\" value=%s min=-100 max=100 flags=range-check enabled=1\n";
    const struct {
        const char* args;
        int status;
        std::string out; // all of standard output
        const char* err; // in standard error
    } rows[] = {
        {"params graph.xml Scale", HS_OK, Format(dialog, "2"), ""},
        {"params graph.xml Scale --set 'Scaling / Factor = -2.5'", HS_OK, Format(dialog, "-2.5"), ""},
        {"params graph.xml Scale", HS_OK, Format(dialog, "-2.5"), ""},
        {"params graph.xml Scale --set Scaling/Factor=250", HS_USAGE, "",
         "Scaling/Factor=250: value 250 is outside -100 .. 100"},
        {"params graph.xml Scale --set Factor=1", HS_USAGE, "", "no item \"Factor\""},
        {"params graph.xml Scale", HS_OK, Format(dialog, "-2.5"), ""},
        {"params graph.xml Counter", HS_OK, "Counter: no property dialog\n", ""},
        {"params graph.xml Nobody", HS_USAGE, "", "graph.xml has no module Nobody"},
        {"params graph.xml", HS_USAGE, "", "params needs a module"},
    };
    for (const auto& row : rows) {
        const std::string before = ReadFile(folder / "graph.xml");
        const FlowdeckResult r = Flowdeck(row.args, folder.Path());
        EXPECT_EQ(r.status, row.status) << row.args << "\n" << r.err;
        EXPECT_EQ(r.out, row.out) << row.args;
        EXPECT_NE(r.err.find(row.err), std::string::npos) << row.args << "\n" << r.err;
        if (r.status != HS_OK) {
            EXPECT_EQ(ReadFile(folder / "graph.xml"), before) << row.args;
        }
    }
    std::string why;
    EXPECT_TRUE(ValidGraphXml(folder / "graph.xml", &why)) << why;
}

TEST(Params, TheDemoGraphRunsWithTheGainEditedInItsDialog)
{
    if (!*FLOWDECK_SAMPLES)
        GTEST_SKIP() << "built without the sample modules";
    ScratchFolder folder;
    std::filesystem::copy_file(FLOWDECK_SOURCE "/examples/graphs/demo.xml", folder / "demo.xml");
    const std::string gain = "params demo.xml Gain --module-path " FLOWDECK_SAMPLES;
    const char dialog[] = "0 4 \"Factor\" value=0.25 min=@-10 max=@10 flags=range-check enabled=1\n"
                          "1 4 \"Minimum\" value=-10 max=@0.25 flags=range-check enabled=1\n"
                          "2 4 \"Maximum\" value=10 min=@0.25 flags=range-check enabled=1\n";
    for (const char* edit : {" --set Factor=0.25", ""}) {  // edited, then as saved
        const FlowdeckResult r = Flowdeck(gain + edit, folder.Path());
        ASSERT_EQ(r.status, HS_OK) << edit << "\n" << r.err;
        EXPECT_EQ(r.out, dialog) << edit;
    }
    std::string why;
    EXPECT_TRUE(ValidGraphXml(folder / "demo.xml", &why)) << why;
    const FlowdeckResult run = Flowdeck("run demo.xml --module-path " FLOWDECK_SAMPLES, folder.Path());
    ASSERT_EQ(run.status, HS_OK) << run.err;
    std::istringstream csv(ReadFile(folder / "demo.csv"));
    std::string line;
    for (int header = 0; header < 4; ++header)  // the signal, unit, rate and column names
        std::getline(csv, line);
    int rows = 0;
    for (; std::getline(csv, line); ++rows) {
        double t = 0, v = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf", &t, &v), 2) << line;
        EXPECT_NEAR(v, 0.5 * std::sin(2 * M_PI * 5 * t), 1e-5) << line;  // amplitude 2, gain 0.25
    }
    EXPECT_EQ(rows, 1000);
}
