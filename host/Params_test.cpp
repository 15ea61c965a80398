// flowdeck params on the test modules' graph: a module's dialog as text, edits saved into
// the graph, and edits refused with the graph left alone.
#include <gtest/gtest.h>

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
