// The remembered dialog sizes: value names, the packed number, loading and storing.
#include "corekit80/dialogs/TCDialogSizeMemoryImpl.h"

#include "corekit80/foundation/TCProfile.h"

namespace {

bool Resizable(const CWnd& dialog) { return (dialog.GetStyle() & WS_THICKFRAME) != 0; }

// The outer rectangle the dialog has when neither minimised nor maximised.
bool NormalRect(const CWnd& dialog, RECT& rect)
{
    if (!dialog.IsIconic() && !dialog.IsZoomed())
        return dialog.GetWindowRect(&rect);
    WINDOWPLACEMENT placement{};
    if (!dialog.GetWindowPlacement(&placement))
        return false;
    rect = placement.rcNormalPosition;
    return true;
}

} // namespace

CString TCDialogSizeMemory::ValueName(const CString& caption)
{
    const int end = caption.Find(" - ");
    return end < 0 ? caption : caption.Left(end);
}

uint32_t TCDialogSizeMemory::Pack(int width, int height)
{
    return (static_cast<uint32_t>(height) << 16) | (static_cast<uint32_t>(width) & 0xFFFF);
}

SIZE TCDialogSizeMemory::Unpack(uint32_t value)
{
    return SIZE{static_cast<int32_t>(value & 0xFFFF), static_cast<int32_t>(value >> 16)};
}

void TCDialogSizeMemory::Load(CWnd& dialog)
{
    if (!Resizable(dialog))
        return;
    const auto value = static_cast<uint32_t>(LoadUserProfileInt(kSection, ValueName(dialog.GetWindowText()), 0));
    RECT rect;
    if (value != 0 && NormalRect(dialog, rect)) {
        const SIZE size = Unpack(value);
        dialog.MoveWindow(rect.left, rect.top, size.cx, size.cy, true);
    }
}

void TCDialogSizeMemory::Store(const CWnd& dialog)
{
    RECT rect;
    if (Resizable(dialog) && NormalRect(dialog, rect))
        SaveUserProfileInt(kSection, ValueName(dialog.GetWindowText()),
                           static_cast<int>(Pack(rect.right - rect.left, rect.bottom - rect.top)));
}
