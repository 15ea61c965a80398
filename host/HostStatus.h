#pragma once

// The exit statuses of flowdeck and the problems that lead to them.

#include <cstdio>
#include <string>
#include <vector>

// One status per kind of failure, so that scripts can tell them apart. Listed by
// `flowdeck --help`; keep that text (Usage.cpp) in step.
enum HostStatus : int {
    HS_OK = 0,
    HS_USAGE = 1,            // bad command line
    HS_GRAPH_FILE = 2,       // graph file unreadable, truncated, not an archive, or inconsistent
    HS_LIBRARY_MISSING = 3,  // module library not found or not loadable
    HS_NO_FACTORY = 4,       // library without the module factory, or of an unsuited interface version
    HS_UNKNOWN_TYPE = 5,     // library does not make a module of that type
    HS_NO_PORT = 6,          // a line names a port that does not exist, or a second line into an input
    HS_TYPE_MISMATCH = 7,    // a line joins ports of incompatible types
    HS_UNWIRED_INPUT = 8,    // an obligatory input has no line
    HS_CYCLE = 9,            // a cycle of lines that no source module feeds
    HS_INIT_REFUSED = 10,    // a module refused to start (Init)
    HS_MODULE_FAILED = 11,   // a module failed or threw while running
    HS_OUTPUT = 12,          // a file flowdeck writes could not be written
    HS_INTERRUPTED = 130,    // stopped by Ctrl-C (outputs complete up to there)
};

// The problems found so far, in the order found; each is one line naming the graph element
// at fault, or no line where a module has told the user itself (through its error record).
class Problems {
public:
    void Add(HostStatus status, std::string text);
    // "out of memory" with status; never fails: without room for the line it is kept apart
    // (Status, Empty and Print know of it, Count and Text do not).
    void AddOutOfMemory(HostStatus status) noexcept;
    bool Empty() const { return m_list.empty() && m_outOfMemory == HS_OK; }
    size_t Count() const { return m_list.size(); }
    // The status of the first problem; HS_OK without any.
    HostStatus Status() const { return m_list.empty() ? m_outOfMemory : m_list.front().status; }
    const std::string& Text(size_t i) const { return m_list[i].text; }
    HostStatus StatusOf(size_t i) const { return m_list[i].status; }
    // Each as "error: TEXT"; those without text are left out.
    void Print(FILE* out) const;

private:
    struct Problem {
        HostStatus status;
        std::string text;
    };
    std::vector<Problem> m_list;
    HostStatus m_outOfMemory = HS_OK;
};

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
