// The host tests' scratch folders, program runs and test graphs.
#include "HostTest.h"

#include <libxml/relaxng.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "corekit80/archive/ArchiveParser.h"

ScratchFolder::ScratchFolder()
{
    std::string pattern = std::filesystem::temp_directory_path().string() + "/flowdeck_test_XXXXXX";
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

FlowdeckResult Flowdeck(const std::string& args, const std::string& folder)
{
    const std::string command = "cd '" + folder + "' && FLOWDECK_MODULE_PATH= " FLOWDECK_PROGRAM " " + args +
                                " >'" + folder + "/.out' 2>'" + folder + "/.err'";
    const int raw = std::system(command.c_str());
    FlowdeckResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(folder + "/.out");
    r.err = ReadFile(folder + "/.err");
    std::filesystem::remove(folder + "/.out");
    std::filesystem::remove(folder + "/.err");
    return r;
}

void CounterScaleSink(GraphFile& graph, TestSettings& settings, const std::string& folder)
{
    graph.libraries = {FLOWDECK_TEST_MODULES "/libflowdeck_testmodules.so"};
    graph.modules = {{0, "Counter", 0, "Counter", nullptr}, {0, "Scale", 0, "Scale", nullptr},
                     {0, "Sink", 0, "Sink", nullptr}};
    graph.lines = {{"Counter", "Out", "Scale", "In"}, {"Scale", "Out", "Sink", "In"}};
    settings = {{"Counter", {1, "Blocks", "3", true}},
                {"Counter", {2, "Size", "2", true}},
                {"Scale", {1, "Factor", "2.0", true}},
                {"Sink", {1, "File", folder + "/out.txt", false}}};
}

bool SaveTestGraph(const GraphFile& graph, const TestSettings& settings, const std::string& path, bool xml)
{
    Problems problems;
    return graph.Save(path, xml,
                      [&](size_t m, ArchiveParser& section) {
                          auto [from, to] = settings.equal_range(graph.modules[m].symbol);
                          for (auto it = from; it != to; ++it) {
                              const TestSetting& s = it->second;
                              if (s.number && s.text.find('.') == std::string::npos) {
                                  int value = std::atoi(s.text.c_str());
                                  section.Serialize(s.id, s.description, value);
                              } else if (s.number) {
                                  double value = std::atof(s.text.c_str());
                                  section.Serialize(s.id, s.description, value);
                              } else {
                                  TCString value(s.text.c_str());
                                  section.Serialize(s.id, s.description, value);
                              }
                          }
                      },
                      problems);
}

bool ValidGraphXml(const std::string& path, std::string* why)
{
    static xmlRelaxNGPtr schema = [] {
        xmlRelaxNGParserCtxtPtr parser = xmlRelaxNGNewParserCtxt(FLOWDECK_SOURCE "/host/flowdeck-graph.rng");
        xmlRelaxNGPtr parsed = xmlRelaxNGParse(parser);
        xmlRelaxNGFreeParserCtxt(parser);
        return parsed;
    }();
    if (!schema) {
        *why = "the schema does not parse";
        return false;
    }
    xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET);
    if (!doc) {
        *why = "not XML";
        return false;
    }
    xmlRelaxNGValidCtxtPtr validator = xmlRelaxNGNewValidCtxt(schema);
    xmlRelaxNGSetValidStructuredErrors(
        validator, [](void* into, xmlErrorPtr e) { *static_cast<std::string*>(into) += e->message; }, why);
    const bool valid = xmlRelaxNGValidateDoc(validator, doc) == 0;
    xmlRelaxNGFreeValidCtxt(validator);
    xmlFreeDoc(doc);
    return valid;
}
