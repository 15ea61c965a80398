// The host's colour chooser, installed once.
#include "corekit80/platform/TCColorChooser.h"

#include <atomic>

#include "corekit80/platform/TCPathUI.h"

namespace {
std::atomic<TCColorChooser> g_chooser{nullptr};
} // namespace

void TCSetColorChooser(TCColorChooser chooser) { g_chooser = chooser; }

int TCRunColorChooser(COLORREF initial, HWND parent, COLORREF& chosen)
{
    const TCColorChooser chooser = g_chooser.load();
    return chooser ? chooser(initial, parent, chosen) : TCFileChooserRequest::RESULT_CANCEL;
}
