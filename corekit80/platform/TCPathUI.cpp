// The host's file chooser and text measuring services, installed once.
#include "corekit80/platform/TCPathUI.h"

#include <atomic>

namespace {
std::atomic<int (*)(const TCFileChooserRequest&, TCString&)> g_choose{nullptr};
std::atomic<int (*)(HWND, const char*)> g_measureText{nullptr};
} // namespace

void TCSetPathUI(const TCPathUI& ui)
{
    g_choose = ui.choose;
    g_measureText = ui.measureText;
}

int TCRunFileChooser(const TCFileChooserRequest& request, TCString& chosen)
{
    auto choose = g_choose.load();
    return choose ? choose(request, chosen) : TCFileChooserRequest::RESULT_CANCEL;
}

int TCMeasureText(HWND window, const char* text)
{
    auto measure = g_measureText.load();
    return measure ? measure(window, text ? text : "") : -1;
}
