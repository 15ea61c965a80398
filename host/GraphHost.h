#pragma once

// GraphHost, a signal graph built from its file, wired and run.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GraphFile.h"
#include "HostConsole.h"
#include "HostStatus.h"
#include "ModuleLibrary.h"
#include "corekit80/modules/TCModuleTypes.h"

class ArchiveParser;
class TCBaseModule;

// How long a run goes on; by default until every source module has finished.
struct RunOptions {
    long long blocks = -1;     // each source module makes at most this many blocks
    double seconds = -1;       // sources stop after this time
    bool progress = false;     // a progress line on standard output
};

// What a run did.
struct RunStats {
    long long cycles = 0;
    long long blocks = 0;      // Fetch calls that did work, all modules
    double seconds = 0;
    bool interrupted = false;
};

// Drives the modules of one graph through the host's sequence:
//   Build: load the libraries; create each module; host messages 4 (library handle),
//          18 (symbol name), 19 (graph name), 27 (module-message handler), 38 (wiring checks
//          on); load its settings; draw the lines (the target input validates the source
//          output's type, AddLine at both ends, SetInputStream, AddOutputStream);
//          ComputeValidationData; order the modules (sources first, along the lines).
//   Start: Init each module (an -3 shows its error record as text), then 44/5 and 46/1.
//   Run:   cycles of message 32 to every module and Fetch in order, until every source has
//          reported its end (2) and a whole cycle did no work (no 0), or on Ctrl-C, after
//          --blocks or --seconds (the sources then stop and the rest drain).
//   Stop:  46/0, 44/6 and Done; Done is left out after a failure so that no module takes a
//          run that failed for a finished one (writers drop their temporary files).
//   Destruction: DeleteStreams on every module, the modules deleted, the libraries closed.
// Every problem found on the way goes to the Problems given, one line naming the graph
// element at fault; exceptions thrown by module code are caught and reported as well.
class GraphHost {
public:
    GraphHost(GraphFile& graph, const ModuleSearch& search, HostConsole& console);
    ~GraphHost();
    GraphHost(const GraphHost&) = delete;
    GraphHost& operator=(const GraphHost&) = delete;

    bool Build(Problems& problems);
    // Init only (for check), or Init and the start messages.
    bool Start(bool run, Problems& problems);
    // HS_OK, HS_INTERRUPTED or HS_MODULE_FAILED (with the problem).
    HostStatus Run(const RunOptions& options, RunStats& stats, Problems& problems);
    void Stop(bool done, Problems& problems);

    // Stores the settings of a built module (for GraphFile::Save).
    void StoreSettings(size_t module, ArchiveParser& section);
    // A built module of the file's module index; null when there is none.
    TCBaseModule* Module(size_t module) const { return module < m_nodes.size() ? m_nodes[module].module : nullptr; }
    size_t Lines() const { return m_linesDrawn; }
    // Requests the end of a run, as Ctrl-C does (safe from a signal handler).
    static void Interrupt();

private:
    struct Node {
        TCBaseModule* module = nullptr;
        const ModuleLibrary* library = nullptr;
        std::string symbol;
        bool source = false;
        bool started = false;
        bool finished = false;
        long long blocks = 0;
        std::vector<int> inputLines;  // lines into each input
        std::vector<size_t> targets;  // modules fed by this one
    };
    // Runs module code; an exception becomes a problem naming the module.
    bool Call(Node& node, const char* what, Problems& problems, const std::function<void()>& f);
    bool Create(size_t i, Problems& problems);
    void Draw(const GraphFile::Line& line, Problems& problems);
    void Order(Problems& problems);
    void Refused(Node& node, int result, int errorsBefore, Problems& problems);
    void ShowProgress(double seconds, bool last) const;

    GraphFile& m_graph;
    const ModuleSearch& m_search;
    HostConsole& m_console;
    std::vector<std::unique_ptr<ModuleLibrary>> m_libraries;  // null where loading failed
    std::vector<Node> m_nodes;                                // index = module of the file
    std::vector<size_t> m_order;                              // built modules, sources first
    size_t m_linesDrawn = 0;
    bool m_running = false;
};

// Where a port of a module is: its number, or -1; names receives the port names there are.
int FindPort(TCBaseModule& module, PORTTYPE type, const std::string& name, std::string* names);
