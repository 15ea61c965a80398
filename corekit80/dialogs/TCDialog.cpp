// The dialog's messages applied to its resizing and size memory.
#include "corekit80/dialogs/TCDialog.h"

#include "corekit80/dialogs/TCDialogSizeMemoryImpl.h"
#include "corekit80/dialogs/TCResizeableImpl.h"

TCDialog::TCDialog(CWnd* window) : TCResizeable(window) {}

TCDialog::~TCDialog() = default;

void TCDialog::OnInitDialog() {}

long TCDialog::OnMessage(CWnd*, unsigned message, unsigned long wParam, long lParam)
{
    CWnd* dialog = Impl()->m_dialog;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return 1;
    case TCWM_CREATED:
        if (RECT client; dialog && dialog->GetClientRect(&client)) {
            Resize(client.right, client.bottom);
            TCDialogSizeMemory::Load(*dialog);
        }
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED)
            Resize(TCSizeParamWidth(lParam), TCSizeParamHeight(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        if (lParam)
            Impl()->ApplyLimits(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_ERASEBKGND:
        if (wParam)
            Impl()->ExcludeControls(*reinterpret_cast<HDC__*>(wParam));
        return 0;
    case WM_DESTROY:
        if (dialog)
            TCDialogSizeMemory::Store(*dialog);
        ClearResizeable();
        return 0;
    default:
        return 0;
    }
}
