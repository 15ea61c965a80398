// GraphHost: libraries loaded, modules created and told who they are, lines drawn, order found.
#include "GraphHost.h"

#include <algorithm>
#include <deque>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/modules/TCBaseModule.h"

namespace {
// The precision handed to every input stream with SetInputStream.
const int LINE_PRECISION = 3;

const char* PortKind(PORTTYPE type) { return type == PT_INPUT ? "input" : "output"; }
}

int FindPort(TCBaseModule& module, PORTTYPE type, const std::string& name, std::string* names)
{
    const int n = type == PT_INPUT ? module.GetNoInput() : module.GetNoOutput();
    int found = -1;
    for (int p = 0; p < n; ++p) {
        const char* port = type == PT_INPUT ? module.GetInputName(p) : module.GetOutputName(p);
        const std::string portName = port ? port : "";
        if (found < 0 && portName == name)
            found = p;
        if (names)
            *names += (names->empty() ? "" : ", ") + portName;
    }
    return found;
}

GraphHost::GraphHost(GraphFile& graph, const ModuleSearch& search, HostConsole& console)
    : m_graph(graph), m_search(search), m_console(console)
{
}

GraphHost::~GraphHost()
{
    if (m_running) {
        Problems ignored;
        Stop(false, ignored);
    }
    // Streams of the whole graph first: blocks of one module wait at the inputs of others.
    for (Node& node : m_nodes)
        if (node.module) {
            try {
                node.module->DeleteStreams();
            } catch (...) {
            }
        }
    for (Node& node : m_nodes) {
        try {
            delete node.module;
        } catch (...) {
        }
        node.module = nullptr;
    }
    m_libraries.clear();
}

bool GraphHost::Call(Node& node, const char* what, Problems& problems, const std::function<void()>& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        problems.Add(HS_MODULE_FAILED, Format("module %s threw in %s: %s", node.symbol.c_str(), what, e.what()));
    } catch (...) {
        problems.Add(HS_MODULE_FAILED, Format("module %s threw in %s", node.symbol.c_str(), what));
    }
    return false;
}

bool GraphHost::Build(Problems& problems)
{
    const size_t before = problems.Count();
    for (size_t i = 0; i < m_graph.libraries.size(); ++i) {
        auto library = std::make_unique<ModuleLibrary>();
        const std::string what = Format("module library %zu", i);
        if (library->Load(m_graph.libraries[i], m_graph.Folder(), m_search, what, problems))
            m_libraries.push_back(std::move(library));
        else
            m_libraries.emplace_back();
    }
    m_nodes.resize(m_graph.modules.size());
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (!Create(i, problems) && m_nodes[i].module) {
            delete m_nodes[i].module;
            m_nodes[i].module = nullptr;
        }
    for (const GraphFile::Line& line : m_graph.lines)
        Draw(line, problems);
    for (Node& node : m_nodes)
        if (node.module)
            Call(node, "ComputeValidationData", problems, [&] { node.module->ComputeValidationData(CF_HOST); });
    Order(problems);
    return problems.Count() == before;
}

bool GraphHost::Create(size_t i, Problems& problems)
{
    const GraphFile::Module& m = m_graph.modules[i];
    Node& node = m_nodes[i];
    node.symbol = m.symbol;
    if (m.library < 0 || size_t(m.library) >= m_libraries.size() || !m_libraries[size_t(m.library)])
        return false;  // the library's own problem is reported
    const ModuleLibrary& library = *m_libraries[size_t(m.library)];
    node.library = &library;
    if (!library.MakesType(m.type)) {
        problems.Add(HS_UNKNOWN_TYPE, Format("module %s: library %s makes no module of type '%s'", m.symbol.c_str(),
                                             library.Path().c_str(), m.type.c_str()));
        return false;
    }
    if (!Call(node, "its creation", problems, [&] { node.module = library.Create(m.type, m.instance); }))
        return false;
    if (!node.module) {
        problems.Add(HS_UNKNOWN_TYPE, Format("module %s: library %s did not create a module of type '%s'",
                                             m.symbol.c_str(), library.Path().c_str(), m.type.c_str()));
        return false;
    }
    const std::string graphName = m_graph.Name();
    TCBaseModule& module = *node.module;
    if (!Call(node, "the host messages", problems, [&] {
            module.GetMessageA(4, reinterpret_cast<long>(library.Handle()));
            module.GetMessageA(18, reinterpret_cast<long>(m.symbol.c_str()));
            module.GetMessageA(19, reinterpret_cast<long>(graphName.c_str()));
            module.GetMessageA(27, HostConsole::HandlerAddress());
            module.GetMessageA(38, 1);
        }))
        return false;
    if (m.settings && library.Serializer() &&
        !Call(node, "loading its settings", problems, [&] { library.Serializer()(&module, m.settings); }))
        return false;
    node.source = module.GetTypeOfModule() == 1;
    node.inputLines.assign(size_t(std::max(0, module.GetNoInput())), 0);
    return true;
}

void GraphHost::Draw(const GraphFile::Line& line, Problems& problems)
{
    const int from = m_graph.Find(line.source), to = m_graph.Find(line.target);
    if (from < 0 || to < 0 || !m_nodes[size_t(from)].module || !m_nodes[size_t(to)].module)
        return;  // reported with the file or the module
    Node& source = m_nodes[size_t(from)];
    Node& target = m_nodes[size_t(to)];
    const std::string name = Format("line %s.%s -> %s.%s", line.source.c_str(), line.sourcePort.c_str(),
                                    line.target.c_str(), line.targetPort.c_str());
    int ports[2] = {-1, -1};
    const struct {
        Node& node;
        PORTTYPE type;
        const std::string& port;
    } ends[] = {{source, PT_OUTPUT, line.sourcePort}, {target, PT_INPUT, line.targetPort}};
    for (int e = 0; e < 2; ++e) {
        std::string names;
        ports[e] = FindPort(*ends[e].node.module, ends[e].type, ends[e].port, &names);
        if (ports[e] < 0)
            problems.Add(HS_NO_PORT, Format("%s: module %s has no %s '%s' (%ss: %s)", name.c_str(),
                                            ends[e].node.symbol.c_str(), PortKind(ends[e].type), ends[e].port.c_str(),
                                            PortKind(ends[e].type), names.empty() ? "none" : names.c_str()));
    }
    if (ports[0] < 0 || ports[1] < 0)
        return;
    const int out = ports[0], in = ports[1];
    if (size_t(in) < target.inputLines.size() && target.inputLines[size_t(in)] > 0) {
        problems.Add(HS_NO_PORT, Format("%s: input %s.%s has a line already", name.c_str(), line.target.c_str(),
                                        line.targetPort.c_str()));
        return;
    }
    const char* type = nullptr;
    int tokens = 0;
    int accepted = 0;
    m_console.TakeValidation();
    if (!Call(target, "validating a line", problems, [&] {
            source.module->GetPortType(PT_OUTPUT, out, &type, tokens);
            accepted = target.module->ValidatePortType(PT_INPUT, in, type ? type : "", tokens);
        }))
        return;
    if (!accepted) {
        const std::string why = m_console.TakeValidation();
        problems.Add(HS_TYPE_MISMATCH, Format("%s: the types do not fit: %s", name.c_str(),
                                              why.empty() ? (std::string(type ? type : "") + " refused").c_str()
                                                          : why.c_str()));
        return;
    }
    Call(target, "drawing a line", problems, [&] {
        source.module->AddLine(PT_OUTPUT, out);
        target.module->AddLine(PT_INPUT, in);
        if (void* stream = target.module->SetInputStream(in, 0, LINE_PRECISION))
            source.module->AddOutputStream(out, stream);
    });
    if (size_t(in) < target.inputLines.size())
        ++target.inputLines[size_t(in)];
    source.targets.push_back(size_t(to));
    ++m_linesDrawn;
}

void GraphHost::Order(Problems& problems)
{
    // Lines into a source module do not hold it back: a cycle through a source starts there.
    std::vector<int> waiting(m_nodes.size(), 0);
    for (const Node& node : m_nodes)
        for (size_t t : node.targets)
            if (!m_nodes[t].source)
                ++waiting[t];
    std::vector<bool> placed(m_nodes.size(), false);
    for (;;) {
        std::deque<size_t> ready;
        for (size_t i = 0; i < m_nodes.size(); ++i)
            if (m_nodes[i].module && !placed[i] && waiting[i] == 0)
                ready.push_back(i);
        std::stable_partition(ready.begin(), ready.end(), [&](size_t i) { return m_nodes[i].source; });
        while (!ready.empty()) {
            const size_t i = ready.front();
            ready.pop_front();
            placed[i] = true;
            m_order.push_back(i);
            for (size_t t : m_nodes[i].targets)
                if (!m_nodes[t].source && --waiting[t] == 0)
                    ready.push_back(t);
        }
        // What is left waits on a cycle: walk back along the lines into it until a module
        // comes again, name that cycle, take it out and go on.
        size_t at = 0;
        while (at < m_nodes.size() && (placed[at] || !m_nodes[at].module))
            ++at;
        if (at == m_nodes.size())
            return;
        std::vector<size_t> path;
        std::vector<int> seenAt(m_nodes.size(), -1);
        while (seenAt[at] < 0) {
            seenAt[at] = int(path.size());
            path.push_back(at);
            for (size_t i = 0; i < m_nodes.size(); ++i)
                if (!placed[i] && std::count(m_nodes[i].targets.begin(), m_nodes[i].targets.end(), at)) {
                    at = i;
                    break;
                }
        }
        path.erase(path.begin(), path.begin() + seenAt[at]);
        std::reverse(path.begin(), path.end());
        std::rotate(path.begin(), std::min_element(path.begin(), path.end()), path.end());
        path.push_back(path.front());
        std::string cycle;
        for (size_t i : path)
            cycle += (cycle.empty() ? "" : " -> ") + m_nodes[i].symbol;
        problems.Add(HS_CYCLE, Format("cycle without a source module: %s", cycle.c_str()));
        path.pop_back();
        for (size_t i : path) {
            placed[i] = true;
            for (size_t t : m_nodes[i].targets)
                if (!m_nodes[t].source && waiting[t] > 0)
                    --waiting[t];
        }
    }
}

void GraphHost::StoreSettings(size_t module, ArchiveParser& section)
{
    if (module >= m_nodes.size() || !m_nodes[module].module || !m_nodes[module].library)
        return;
    if (TCSerializeModuleFn serialize = m_nodes[module].library->Serializer())
        serialize(m_nodes[module].module, &section);
}
