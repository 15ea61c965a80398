#pragma once

// TCListCellEditor, the in-place editor of one cell of a list edit control.

#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

class TC_ListEditCtrl;

// What the in-place editor over a cell holds while the user edits: the column's type
// (TC_ListEditCtrl::Type), the cell, the rectangle it covers in the list view's client
// coordinates, the alignment of a single-line edit, the choices of a combo box and the
// text being edited. A host draws its control from this record and feeds the user's input
// back; Commit writes the text into the cell, Cancel leaves the cell as it was; both close
// the editor. A list edit control owns one editor for its lifetime and reopens it.
class TC_EXPORT TCListCellEditor {
public:
    bool IsOpen() const { return m_owner != nullptr; }
    int GetType() const { return m_type; }
    int GetRow() const { return m_row; }
    int GetColumn() const { return m_column; }
    const RECT& GetRect() const { return m_rect; }
    // LVCFMT_LEFT, LVCFMT_CENTER or LVCFMT_RIGHT; a single-line edit takes its column's.
    int GetAlignment() const { return m_alignment; }
    // The choices of a combo box or drop-down list, empty for the other types.
    const CStringArray& GetChoices() const { return m_choices; }

    const CString& GetText() const { return m_text; }
    // The text as shown: a password edit shows one "*" for each character.
    CString GetShownText() const;
    // False, text unchanged, when closed or when the editor does not take the text: a
    // drop-down list takes one of its choices only, a check button "1" or "0".
    bool SetText(const char* text);
    // Takes the choice with this index; false when there is none.
    bool Choose(int index);
    // A check button's click.
    bool Toggle();
    // A colour or file button's click: runs the chooser and, on RESULT_OK, takes its
    // answer. An open-file chooser's answer must be an existing file, a save-file
    // chooser's must not be a read-only one; otherwise the answer is RESULT_CANCEL.
    int RunChooser();

    // Writes the text into the cell and closes; false when closed or the cell is gone.
    bool Commit();
    void Cancel();

private:
    friend class TC_ListEditCtrl;

    TC_ListEditCtrl* m_owner = nullptr;
    int m_type = 0;
    int m_row = -1;
    int m_column = -1;
    RECT m_rect{};
    int m_alignment = 0;
    CStringArray m_choices;
    CString m_text;
};
