// The host's graph file read from any bytes (archive XML, UTF-8 XML or binary): a load
// fails exactly when it tells a graph-file problem, a graph that loads is consistent, and
// it saves in each form into a file that loads back as the same graph.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "GraphFile.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A folder of this process for the files loaded and saved (the loader reads a path); a
// plain array, as it must outlive the exit handler that removes it.
char folder[] = "/tmp/fuzz_graphfile.XXXXXX";

std::string Folder()
{
    static const bool made = [] {
        Check(mkdtemp(folder) != nullptr);
        std::atexit([] {
            for (const char* file : {"/in", "/out"})
                unlink((std::string(folder) + file).c_str());
            rmdir(folder);
        });
        return true;
    }();
    return made ? folder : "";
}

bool Load(GraphFile& graph, const std::string& path)
{
    Problems problems;
    const bool ok = graph.Load(path, problems);
    Check(ok == problems.Empty());
    for (size_t i = 0; i < problems.Count(); ++i)
        Check(problems.StatusOf(i) == HS_GRAPH_FILE && !problems.Text(i).empty());
    return ok;
}

void CheckConsistent(const GraphFile& g)
{
    Check(g.libraries.size() <= size_t(GraphFile::MAX_ITEMS) && g.modules.size() <= size_t(GraphFile::MAX_ITEMS) &&
          g.lines.size() <= size_t(GraphFile::MAX_ITEMS));
    for (const std::string& library : g.libraries)
        Check(!library.empty());
    for (size_t i = 0; i < g.modules.size(); ++i) {
        const GraphFile::Module& m = g.modules[i];
        Check(m.library >= 0 && size_t(m.library) < g.libraries.size() && !m.type.empty() &&
              g.Find(m.symbol) == int(i));
    }
    for (const GraphFile::Line& l : g.lines)
        Check(g.Find(l.source) >= 0 && g.Find(l.target) >= 0);
}

bool SameGraph(const GraphFile& a, const GraphFile& b)
{
    if (a.libraries != b.libraries || a.modules.size() != b.modules.size() || a.lines.size() != b.lines.size())
        return false;
    for (size_t i = 0; i < a.modules.size(); ++i) {
        const GraphFile::Module &m = a.modules[i], &n = b.modules[i];
        if (m.library != n.library || m.type != n.type || m.instance != n.instance || m.symbol != n.symbol)
            return false;
    }
    for (size_t i = 0; i < a.lines.size(); ++i) {
        const GraphFile::Line &l = a.lines[i], &k = b.lines[i];
        if (l.source != k.source || l.sourcePort != k.sourcePort || l.target != k.target ||
            l.targetPort != k.targetPort)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string in = Folder() + "/in", out = Folder() + "/out";
    FILE* f = std::fopen(in.c_str(), "wb");
    Check(f != nullptr && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0);
    GraphFile graph;
    if (!Load(graph, in))
        return 0;
    CheckConsistent(graph);
    // XML in UTF-8 and in the archive's UTF-16, then binary.
    for (int form = 0; form < 3; ++form) {
        Problems problems;
        graph.utf8 = form == 0;
        Check(graph.Save(out, form < 2, nullptr, problems) && problems.Empty());
        GraphFile again;
        Check(Load(again, out) && SameGraph(graph, again));
    }
    return 0;
}
