// The debugger output: standard error or the installed sink.
#include "corekit80/platform/TCDebugOutput.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<TCDebugOutputSink> g_sink{nullptr};
}

void TCOutputDebugString(const char* text)
{
    if (!text)
        return;
    if (TCDebugOutputSink sink = g_sink.load(std::memory_order_acquire))
        sink(text);
    else
        std::fputs(text, stderr);
}

TCDebugOutputSink TCSetDebugOutputSink(TCDebugOutputSink sink)
{
    return g_sink.exchange(sink, std::memory_order_acq_rel);
}
