#pragma once

// GraphFile, a signal graph as stored: module libraries, modules and lines.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HostStatus.h"

class ArchiveParser;

// A signal graph as the graph file holds it. The file is an archive (XML by default, the
// binary form accepted; XML files may also be UTF-8, as people write them) whose root section
// holds, by identifier:
//
//   1 "Graph format"       integer, 1
//   2 "No. of libraries"   integer
//   3 "Module libraries"   section; "Library %d" sections (ids from 0), each 1 "File" (text)
//   4 "No. of modules"     integer
//   5 "Modules"            section; "Module %d" sections (ids from 0), each
//                            1 "Library" (integer, index into the libraries),
//                            2 "Type name" (text), 3 "Instance" (integer),
//                            4 "Symbol name" (text, unique in the graph),
//                            5 "Settings" (section the module's library stores its settings in)
//   6 "No. of lines"       integer
//   7 "Lines"              section; "Line %d" sections (ids from 0), each
//                            1 "Source module", 2 "Source port",
//                            3 "Target module", 4 "Target port" (texts)
//
// Modules are named by their symbol names and ports by their names, not numbers, so that a
// graph survives a module library that renumbers its ports.
class GraphFile {
public:
    struct Module {
        int library = 0;
        std::string type;
        int instance = 0;
        std::string symbol;
        // The settings section of the loaded file (owned by this object); null for a graph
        // not loaded from a file.
        ArchiveParser* settings = nullptr;
    };
    struct Line {
        std::string source, sourcePort, target, targetPort;
    };
    // Stores one module's settings into its section while the graph is saved.
    using SettingsWriter = std::function<void(size_t module, ArchiveParser& section)>;

    // Limits that keep a hostile file from making the host allocate without end. Items are
    // numbered in 16 bits, so a list holds at most 65,536.
    static constexpr int MAX_ITEMS = 65536;
    static constexpr size_t MAX_FILE_BYTES = 64u << 20;

    GraphFile();
    ~GraphFile();
    GraphFile(const GraphFile&) = delete;
    GraphFile& operator=(const GraphFile&) = delete;

    // Reads the file; every fault found goes to problems (HS_GRAPH_FILE). False on any.
    bool Load(const std::string& path, Problems& problems);
    // Writes the graph atomically (a temporary file renamed over path): the archive's XML
    // form, or its binary form. XML goes out in UTF-8 when utf8 is set, so that a file people
    // wrote in UTF-8 stays so when a command saves it. False, with the reason in problems
    // (HS_OUTPUT), on failure.
    bool Save(const std::string& path, bool xml, const SettingsWriter& settings, Problems& problems) const;

    // The module with that symbol name, or -1.
    int Find(const std::string& symbol) const;
    // The folder of the file loaded (for finding libraries beside it); "." when none.
    std::string Folder() const;
    // The file's name without folder and extension (the signal graph's name).
    std::string Name() const;

    std::string path;
    // Whether the file loaded was XML in UTF-8 rather than the archive's UTF-16.
    bool utf8 = false;
    std::vector<std::string> libraries;
    std::vector<Module> modules;
    std::vector<Line> lines;

private:
    std::unique_ptr<ArchiveParser> m_tree;
};
