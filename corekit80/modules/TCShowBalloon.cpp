// Balloon tips, shown by the host's main window.
#include "corekit80/modules/TCShowBalloon.h"

#include "corekit80/platform/CWnd.h"
#include "corekit80/platform/TCHostWindow.h"

void TCShowBalloon(CWnd* parent, int controlId, const char* title, const char* text)
{
    TCHostWindow* host = TCGetHostWindow();
    if (!host)
        return;
    if (!parent)
        parent = host->GetMainWnd();
    TCBALLOON_RECORD record;
    record.title = title;
    record.text = text;
    if (parent) {
        record.parent = parent->GetSafeHwnd();
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        RECT area{};
        const CWnd* control = parent->GetDlgItem(controlId);
        if (control && control->GetWindowPlacement(&placement))
            area = placement.rcNormalPosition;
        else if (!parent->GetClientRect(&area))
            area = RECT{};
        // Halves of the sums, taken in 64 bits so that no edge overflows.
        record.x = int32_t((int64_t(area.left) + area.right) / 2);
        record.y = int32_t((int64_t(area.top) + area.bottom) / 2);
    }
    host->Send(TCBALLOON_RECORD::HOST_MESSAGE, TCBALLOON_RECORD::REQUEST, reinterpret_cast<long>(&record));
}
