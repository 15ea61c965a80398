#pragma once

// What the host's tests share: a scratch folder, the flowdeck program run on graphs, and the
// test modules' graph that the tests vary.

#include <functional>
#include <map>
#include <string>

#include "GraphFile.h"

struct FlowdeckResult {
    int status = -1;
    std::string out, err;
};

// A fresh folder per test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Runs flowdeck with the arguments (a shell command line) in folder.
FlowdeckResult Flowdeck(const std::string& args, const std::string& folder);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);

// Settings of the test graphs by symbol name: the setting's number, description and value.
struct TestSetting {
    unsigned short id;
    const char* description;
    std::string text;  // a number when the setting is one
    bool number;
};
using TestSettings = std::multimap<std::string, TestSetting>;

// Counter -> Scale -> Sink of the test modules, the sink writing out.txt in the test folder.
void CounterScaleSink(GraphFile& graph, TestSettings& settings, const std::string& folder);
// Saves the graph, each module's settings from settings.
bool SaveTestGraph(const GraphFile& graph, const TestSettings& settings, const std::string& path, bool xml);

// Whether the file is valid by the graph file's schema; why receives libxml2's complaint.
bool ValidGraphXml(const std::string& path, std::string* why);
