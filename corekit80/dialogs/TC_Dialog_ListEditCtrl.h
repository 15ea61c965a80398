#pragma once

// TC_Dialog_ListEditCtrl, the list edit control bound to a list view of a dialog.

#include "corekit80/dialogs/TC_ListEditCtrl.h"
#include "corekit80/platform/CWnd.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// The list edit control inside a dialog: bound to the dialog's list-view control by its
// id, as data exchange binds a control, and given first go at the keys the dialog
// receives while a cell is being edited, so that Enter and Escape end the edit instead
// of closing the dialog.
class TC_EXPORT TC_Dialog_ListEditCtrl : public TC_ListEditCtrl {
public:
    // Virtual-key codes of the keys it takes.
    enum : unsigned { KEY_TAB = 0x09, KEY_RETURN = 0x0D, KEY_ESCAPE = 0x1B };

    TC_Dialog_ListEditCtrl();
    ~TC_Dialog_ListEditCtrl() override;

    // Binds to view, the list view behind the dialog's child controlId; false, unbound,
    // when the dialog has no such child. Dialog and view must outlive the binding.
    bool Bind(CWnd* dialog, int controlId, TCListView* view);
    // The dialog's child the control is bound to, or null.
    CWnd* GetControlWindow() const;

    // A key the dialog received. While an editor is open, Enter commits it, Escape
    // cancels it, and Tab (Shift+Tab) commits it and opens the next (previous) editable
    // cell, going on in the next (previous) row past the row's end. True when the key was
    // taken; otherwise the dialog handles it.
    bool OnDialogKey(unsigned key, bool shift);
    // The open editor's rectangle moved by the control's top-left corner: in the dialog's
    // client coordinates, the control's frame not counted.
    bool GetEditorRectInDialog(RECT* rect) const;

private:
    CWnd* m_control = nullptr;
};
