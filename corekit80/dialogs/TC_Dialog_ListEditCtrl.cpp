// The list edit control in a dialog: binding and the keys of an open editor.
#include "corekit80/dialogs/TC_Dialog_ListEditCtrl.h"

TC_Dialog_ListEditCtrl::TC_Dialog_ListEditCtrl() : TC_ListEditCtrl(nullptr) {}

TC_Dialog_ListEditCtrl::~TC_Dialog_ListEditCtrl() = default;

bool TC_Dialog_ListEditCtrl::Bind(CWnd* dialog, int controlId, TCListView* view)
{
    m_control = dialog && view ? dialog->GetDlgItem(controlId) : nullptr;
    SetListView(m_control ? view : nullptr);
    return m_control != nullptr;
}

CWnd* TC_Dialog_ListEditCtrl::GetControlWindow() const { return m_control; }

bool TC_Dialog_ListEditCtrl::OnDialogKey(unsigned key, bool shift)
{
    TCListCellEditor& editor = GetEditor();
    if (!editor.IsOpen())
        return false;
    switch (key) {
    case KEY_RETURN:
        editor.Commit();
        return true;
    case KEY_ESCAPE:
        editor.Cancel();
        return true;
    case KEY_TAB: {
        const int row = editor.GetRow();
        int wrapped;
        const int column = NextSubItem(editor.GetColumn(), shift ? -1 : 1, wrapped);
        editor.Commit();
        if (column >= 0)
            EditSubItem(row + wrapped, column);
        return true;
    }
    default:
        return false;
    }
}

bool TC_Dialog_ListEditCtrl::GetEditorRectInDialog(RECT* rect) const
{
    RECT control;
    const TCListCellEditor& editor = GetEditor();
    if (!rect || !editor.IsOpen() || !m_control || !m_control->GetWindowRect(&control))
        return false;
    const RECT& cell = editor.GetRect();
    *rect = RECT{cell.left + control.left, cell.top + control.top, cell.right + control.left, cell.bottom + control.top};
    return true;
}
