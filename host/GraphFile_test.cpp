// The graph file: saved and loaded again in both forms, valid by its schema, and damaged
// files refused with one problem.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "GraphHost.h"
#include "HostTest.h"
#include "corekit80/archive/ArchiveParser.h"

namespace {

// The graph's parts as one text, to compare graphs.
std::string Parts(const GraphFile& g)
{
    std::string text;
    for (const std::string& l : g.libraries)
        text += "library " + l + "\n";
    for (const GraphFile::Module& m : g.modules)
        text += Format("module %d %s %d %s\n", m.library, m.type.c_str(), m.instance, m.symbol.c_str());
    for (const GraphFile::Line& l : g.lines)
        text += l.source + "." + l.sourcePort + " -> " + l.target + "." + l.targetPort + "\n";
    return text;
}

// Loads path, builds its modules and saves it (settings from the modules) to copy.
std::string LoadBuildSave(const std::string& path, const std::string& copy, bool xml)
{
    Problems problems;
    GraphFile graph;
    EXPECT_TRUE(graph.Load(path, problems)) << (problems.Empty() ? "" : problems.Text(0));
    ModuleSearch search;
    search.folders = {FLOWDECK_TEST_MODULES, FLOWDECK_SAMPLES};
    HostConsole console;
    GraphHost host(graph, search, console);
    EXPECT_TRUE(host.Build(problems)) << (problems.Empty() ? "" : problems.Text(0));
    EXPECT_TRUE(graph.Save(copy, xml, [&](size_t m, ArchiveParser& s) { host.StoreSettings(m, s); }, problems));
    return Parts(graph);
}

TEST(GraphFile, RoundTripsThroughBothForms)
{
    ScratchFolder folder;
    GraphFile graph;
    TestSettings settings;
    CounterScaleSink(graph, settings, folder.Path());
    graph.modules[1].instance = 7;
    ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "a.xml", true));
    const std::string parts = Parts(graph);
    for (bool xml : {true, false}) {
        SCOPED_TRACE(xml ? "XML" : "binary");
        EXPECT_EQ(LoadBuildSave(folder / "a.xml", folder / "b", xml), parts);
        EXPECT_EQ(LoadBuildSave(folder / "b", folder / "c.xml", true), parts);
        // Settings come back from the modules as they went in.
        EXPECT_EQ(ReadFile(folder / "c.xml"), ReadFile(folder / "a.xml"));
    }
}

TEST(GraphFile, GraphsAreValidByTheSchema)
{
    ScratchFolder folder;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(FLOWDECK_SOURCE "/examples/graphs"))
        if (entry.path().extension() == ".xml")
            files.push_back(entry.path().string());
    ASSERT_FALSE(files.empty());
    GraphFile graph;
    TestSettings settings;
    CounterScaleSink(graph, settings, folder.Path());
    ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "saved.xml", true));
    files.push_back(folder / "saved.xml");
    if (*FLOWDECK_SAMPLES) {
        EXPECT_EQ(Flowdeck("new new.xml --module-path " FLOWDECK_SAMPLES, folder.Path()).status, HS_OK);
        files.push_back(folder / "new.xml");
        // A graph written in UTF-8 is saved in UTF-8, with its modules and lines.
        const std::string demo = FLOWDECK_SOURCE "/examples/graphs/demo.xml";
        const std::string parts = LoadBuildSave(demo, folder / "demo.xml", true);
        EXPECT_EQ(LoadBuildSave(folder / "demo.xml", folder / "again.xml", true), parts);
        const std::string saved = ReadFile(folder / "demo.xml");
        EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u) << saved.substr(0, 60);
        EXPECT_EQ(saved.find('\r'), std::string::npos);
        files.push_back(folder / "demo.xml");
    }
    for (const std::string& file : files) {
        std::string why;
        EXPECT_TRUE(ValidGraphXml(file, &why)) << file << ": " << why;
    }
    // What the schema refuses: a line without its target port.
    graph.lines[0].targetPort.clear();
    ASSERT_TRUE(SaveTestGraph(graph, settings, folder / "bad.xml", true));
    std::string why;
    EXPECT_FALSE(ValidGraphXml(folder / "bad.xml", &why));
}

TEST(GraphFile, DamagedFilesGiveOneProblem)
{
    ScratchFolder folder;
    GraphFile good;
    TestSettings settings;
    CounterScaleSink(good, settings, folder.Path());
    ASSERT_TRUE(SaveTestGraph(good, settings, folder / "good.tc2", false));
    ASSERT_TRUE(SaveTestGraph(good, settings, folder / "good.xml", true));
    const std::string binary = ReadFile(folder / "good.tc2"), xml = ReadFile(folder / "good.xml");
    const struct {
        const char* name;
        std::string bytes;
        const char* says;
    } files[] = {
        {"empty", "", "is not a graph file"},
        {"text", "hello, graph\n", "is not a graph file"},
        {"binary cut", binary.substr(0, binary.size() / 2), "is truncated or damaged"},
        {"binary header only", binary.substr(0, 17), "is truncated or damaged"},
        {"XML cut", xml.substr(0, xml.size() / 2), "is truncated or damaged"},
        {"UTF-8 XML cut", "<subsection id=\"0\"><integer id=\"1\">1</int", "is truncated or damaged"},
        {"not UTF-8", "<subsection>\xC3(</subsection>", "XML that is not UTF-8"},
        {"other archive", "<subsection id=\"0\"></subsection>", "is no signal graph of format 1"},
        {"number where a section belongs",
         "<subsection><integer id=\"1\">1</integer><integer id=\"6\">0</integer><integer id=\"7\">0</integer>"
         "</subsection>",
         "is truncated or damaged"},
        {"count out of range",
         "<subsection><integer id=\"1\">1</integer><integer id=\"4\">-5</integer></subsection>",
         "-5 modules (0 to 65536 allowed)"},
        // Item numbers are 16 bits: one more would read the first item again.
        {"count past the item numbers",
         "<subsection><integer id=\"1\">1</integer><integer id=\"4\">65537</integer></subsection>",
         "65537 modules (0 to 65536 allowed)"},
        {"too large", std::string(GraphFile::MAX_FILE_BYTES + 1, ' '), "is larger than 67108864 bytes"},
        {"library out of range",
         "<subsection><integer id=\"1\">1</integer><integer id=\"4\">1</integer><subsection id=\"5\">"
         "<subsection id=\"0\"><integer id=\"1\">2</integer><string id=\"2\">T</string>"
         "<string id=\"4\">M</string></subsection></subsection></subsection>",
         "module M names module library 2, which does not exist"},
    };
    for (const auto& f : files) {
        std::ofstream(folder / "g", std::ios::binary) << f.bytes;
        Problems problems;
        GraphFile graph;
        EXPECT_FALSE(graph.Load(folder / "g", problems)) << f.name;
        ASSERT_EQ(problems.Count(), 1u) << f.name;
        EXPECT_EQ(problems.Status(), HS_GRAPH_FILE) << f.name;
        EXPECT_NE(problems.Text(0).find(f.says), std::string::npos) << f.name << ": " << problems.Text(0);
    }
}
}  // namespace
