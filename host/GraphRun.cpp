// GraphHost: the modules started, run cycle by cycle, and stopped.
#include "GraphHost.h"

#include <chrono>
#include <csignal>
#include <cstdio>

#include "corekit80/modules/TCBaseModule.h"

namespace {
volatile std::sig_atomic_t g_interrupted = 0;

// Cycles between looks at the clock, the interrupt flag and the progress line.
const long long CHECK_EVERY = 256;
// Cycles allowed after the sources stopped for the rest to come to rest.
const long long DRAIN_LIMIT = 1000000;

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}

void GraphHost::Interrupt() { g_interrupted = 1; }

bool GraphHost::Start(bool run, Problems& problems)
{
    const size_t before = problems.Count();
    for (size_t i : m_order) {
        Node& node = m_nodes[i];
        const int errors = m_console.Errors();
        int result = 0;
        if (!Call(node, "Init", problems, [&] { result = node.module->Init(); }))
            continue;
        if (result != 0)
            Refused(node, result, errors, problems);
        else
            node.started = true;
    }
    if (problems.Count() != before || !run)
        return problems.Count() == before;
    for (size_t i : m_order) {
        Node& node = m_nodes[i];
        if (!Call(node, "starting", problems, [&] {
                node.module->GetMessageA(44, 5);
                node.module->GetMessageA(46, 1);
            }))
            return false;
    }
    m_running = true;
    return true;
}

void GraphHost::Refused(Node& node, int result, int errorsBefore, Problems& problems)
{
    ERR_MSG* record = nullptr;
    node.module->GetMessageA(16, reinterpret_cast<long>(&record));
    const std::string text = record ? static_cast<const char*>(record->text) : "";
    if (!text.empty()) {
        problems.Add(HS_INIT_REFUSED, Format("module %s refused to start: %s", node.symbol.c_str(), text.c_str()));
        return;
    }
    if (result == -3 && record && record->port >= 0 && size_t(record->port) < node.inputLines.size() &&
        node.inputLines[size_t(record->port)] == 0) {
        const char* port = node.module->GetInputName(record->port);
        problems.Add(HS_UNWIRED_INPUT, Format("module %s: input '%s' has no line and is obligatory",
                                              node.symbol.c_str(), port ? port : ""));
        return;
    }
    if (m_console.Errors() > errorsBefore)
        problems.Add(HS_INIT_REFUSED, "");  // the module told the user why
    else
        problems.Add(HS_INIT_REFUSED, Format("module %s refused to start (Init gave %d)", node.symbol.c_str(), result));
}

HostStatus GraphHost::Run(const RunOptions& options, RunStats& stats, Problems& problems)
{
    g_interrupted = 0;
    const auto start = std::chrono::steady_clock::now();
    std::vector<Node*> order;
    for (size_t i : m_order)
        order.push_back(&m_nodes[i]);
    size_t sourcesLeft = 0;
    for (Node* node : order)
        sourcesLeft += node->source ? 1 : 0;
    const int errors = m_console.Errors();
    long long drained = 0;
    double lastProgress = 0;
    Node* current = nullptr;
    const char* stage = "Fetch";
    try {
        for (;;) {
            ++stats.cycles;
            stage = "message 32";
            for (Node* node : order) {
                current = node;
                node->module->GetMessageA(32, 0);
            }
            stage = "Fetch";
            bool work = false;
            for (Node* node : order) {
                if (node->finished)
                    continue;
                current = node;
                const int result = node->module->Fetch();
                if (result == 0) {
                    work = true;
                    ++node->blocks;
                    if (node->source && node->blocks == options.blocks) {
                        node->finished = true;
                        --sourcesLeft;
                    }
                } else if (result == 2 && node->source) {
                    node->finished = true;
                    --sourcesLeft;
                } else if (result < 0) {
                    // A module that told the user why needs no second line.
                    problems.Add(HS_MODULE_FAILED, m_console.Errors() > errors
                                                       ? std::string()
                                                       : Format("module %s failed in Fetch (%d)",
                                                                node->symbol.c_str(), result));
                    stats.seconds = Since(start);
                    return HS_MODULE_FAILED;
                }
            }
            if (sourcesLeft == 0 && (!work || ++drained > DRAIN_LIMIT))
                break;
            if (stats.cycles % CHECK_EVERY)
                continue;
            const double seconds = Since(start);
            const bool timeUp = options.seconds >= 0 && seconds >= options.seconds;
            if (g_interrupted || timeUp) {
                stats.interrupted = stats.interrupted || g_interrupted;
                for (Node* node : order)
                    if (node->source && !node->finished) {
                        node->finished = true;
                        --sourcesLeft;
                    }
            }
            if (options.progress && seconds - lastProgress >= 0.25) {
                lastProgress = seconds;
                ShowProgress(seconds, false);
            }
        }
    } catch (const std::exception& e) {
        problems.Add(HS_MODULE_FAILED, Format("module %s threw in %s: %s", current->symbol.c_str(), stage, e.what()));
    } catch (...) {
        problems.Add(HS_MODULE_FAILED, Format("module %s threw in %s", current->symbol.c_str(), stage));
    }
    stats.seconds = Since(start);
    for (Node* node : order)
        stats.blocks += node->blocks;
    if (options.progress)
        ShowProgress(stats.seconds, true);
    if (drained > DRAIN_LIMIT)
        std::fprintf(stderr, "warning: the modules did not come to rest; stopped after %lld cycles\n", stats.cycles);
    if (!problems.Empty())
        return HS_MODULE_FAILED;
    return stats.interrupted ? HS_INTERRUPTED : HS_OK;
}

void GraphHost::Stop(bool done, Problems& problems)
{
    m_running = false;
    for (size_t i : m_order) {
        Node& node = m_nodes[i];
        if (!node.started)
            continue;
        Call(node, "stopping", problems, [&] {
            node.module->GetMessageA(46, 0);
            node.module->GetMessageA(44, 6);
            if (done)
                node.module->Done();
        });
    }
}

void GraphHost::ShowProgress(double seconds, bool last) const
{
    std::string line;
    for (size_t i : m_order) {
        const Node& node = m_nodes[i];
        line += Format("%s%s %lld (%.0f/s)", line.empty() ? "" : "  ", node.symbol.c_str(), node.blocks,
                       seconds > 0 ? double(node.blocks) / seconds : 0.0);
    }
    std::printf("\r%s\033[K%s", line.c_str(), last ? "\n" : "");
    std::fflush(stdout);
}
