// The installed host window, kept in an atomic pointer.
#include "corekit80/platform/TCHostWindow.h"

#include <atomic>

namespace {
std::atomic<TCHostWindow*> g_hostWindow{nullptr};
}

TCHostWindow::~TCHostWindow() = default;

CWnd* TCHostWindow::GetMainWnd() const { return nullptr; }

void TCSetHostWindow(TCHostWindow* window) { g_hostWindow.store(window, std::memory_order_release); }

TCHostWindow* TCGetHostWindow() { return g_hostWindow.load(std::memory_order_acquire); }
