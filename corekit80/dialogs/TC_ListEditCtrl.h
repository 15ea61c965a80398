#pragma once

// TC_ListEditCtrl, a table whose cells are edited in place, over a list view.

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/dialogs/TCListCellEditor.h"
#include "corekit80/platform/TCListView.h"
#include "corekit80/types/CArray.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// A report-style list whose cells the user edits in place, each column with its editing
// type. The content is the table as the module sees it, rows of cell texts in content
// index order; ContentsToCtrl shows it in the list view and CtrlToContents takes the
// user's edits back. Row operations work on the list view.
//
// Cells of a check column (TYPE_CHECK) hold "1" or "0" and stand for the row's check
// state: writing one sets the state (any non-zero number checks), reading one gives it.
// Colour cells hold "R; G; B" (ColorText, ParseColorText).
//
// Serialize stores field 1 "Number of rows", field 2 "Number of columns" (the cells of
// row 0) and section 11 "Content lines" with a section "Line %d" per row holding string
// fields "Entry %d" per cell. Every row is stored with row 0's number of cells: longer
// rows lose their extra cells, shorter ones gain empty ones. Row numbers are identifiers
// of 16 bits, so a table of more than 65,536 rows is refused, as is one of more than
// maxCells cells, which keeps a damaged archive from taking all memory.
class TC_EXPORT TC_ListEditCtrl {
public:
    class TC_ListEditCtrlImpl;

    enum Type {
        TYPE_NONE = 0,
        TYPE_CHECK = 1,
        TYPE_EDIT = 2,
        TYPE_COMBO = 3,           // always visible list, editable
        TYPE_COMBO_DROPDOWN = 4,  // editable
        TYPE_COMBO_LIST = 5,      // choice only
        TYPE_HOTKEY = 6,
        TYPE_COLOR = 7,
        TYPE_FILE_SAVE = 8,
        TYPE_FILE_OPEN = 9,
        TYPE_PASSWORD = 10
    };
    enum : unsigned long { FLAG_READONLY = 0x800 };
    enum { maxRows = 65536, maxCells = 1 << 22 };

    // The list view may be null (every operation then fails) and must outlive the control.
    explicit TC_ListEditCtrl(TCListView* view);
    virtual ~TC_ListEditCtrl();
    TC_ListEditCtrl(const TC_ListEditCtrl&) = delete;
    TC_ListEditCtrl& operator=(const TC_ListEditCtrl&) = delete;

    TCListView* GetListView() const;
    CArray<CStringArray>& GetContent();

    // Turns label editing on, inserts the column in the list view and records type and
    // flags for that column index. The column's position, or -1 when the list view
    // refuses it.
    int InsertColumn(int column, Type type, unsigned long flags, const char* caption, int format = LVCFMT_LEFT,
                     int width = -1, int subItem = -1);
    Type GetColumnType(int column) const;
    unsigned long GetAdditionalFlags(int column) const;
    bool IsReadonly(int column) const;

    // A row with text0 and, from the further const char* arguments, the texts of columns
    // 1 to count - 1 (null leaves a cell empty). The row's index or -1.
    int InsertRow(int row, int count, const char* text0, ...);
    // Deletes the row and selects the one now at its index, or the last one.
    bool DeleteItem(int row);
    // Inserts a copy of row from (text, check state, non-empty cells) at to, past the end
    // appending, and selects it. The source row's index afterwards; -1 when from equals
    // to, either is negative or from is no row.
    int CopyRow(int from, int to);
    // CopyRow, then the source row is deleted, the copy staying selected: the row lands
    // at to, or at to - 1 when from < to. True when it moved.
    bool MoveRow(int from, int to);
    bool MoveUp(int row);
    bool MoveDown(int row);
    // Deletes every row and column and forgets column records and width fractions.
    void RemoveAll();

    // The next column from column in direction step (+1 or -1) that is not read-only.
    // Past the last column it goes on at 0 with wrapped 1, before the first at the last
    // with wrapped -1 (0 otherwise); -1 when a full cycle finds none.
    int NextSubItem(int column, int step, int& wrapped) const;

    // Stores n width fractions, given as doubles; ResizeColumns applies them.
    void DivideSpace(int n, double fraction, ...);
    const CArray<double>& GetSpaceFractions() const;
    // Each column with a fraction becomes that share of the list view's width.
    void ResizeColumns();

    void AddCComboString(int column, const char* text);
    void AddCComboStrings(int column, const CStringArray& texts);
    // The choices of the cell's combo box: the column's unless overridden.
    virtual const CStringArray& GetCComboBoxArray(int row, int column);

    // Opens the editor of the column's type over the cell, closing an open one by
    // Commit first. Null for a read-only column, a type outside 1 to 10 or no such cell.
    TCListCellEditor* EditSubItem(int row, int column);
    // The editor, open or closed.
    TCListCellEditor& GetEditor();
    const TCListCellEditor& GetEditor() const;

    // Both directions; false when a table to store is too large (nothing is written) or
    // an archive read claims too large a table (the content is then empty).
    bool Serialize(ArchiveParser* archive);

    virtual void ContentsToCtrl();
    virtual void CtrlToContents();
    virtual int MapIndexToColumn(int index) const;
    virtual int MapColumnToIndex(int column) const;

    // "%d; %d; %d" of red, green and blue.
    static CString ColorText(COLORREF color);
    // Up to three numbers as "%d; %d; %d" reads them: missing ones are 0, each is kept
    // within 0 to 255.
    static COLORREF ParseColorText(const char* text);

protected:
    void SetListView(TCListView* view);

private:
    friend class TCListCellEditor;
    void SetCell(int row, int column, const char* text);
    CString GetCell(int row, int column) const;

    TC_ListEditCtrlImpl* m_impl;
};
