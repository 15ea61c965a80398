#pragma once

// TCListView, the report-style list view that the list edit control works on.

#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCWinTypes.h"

// Column formats (the text alignment) and the style bit for label editing.
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2, LVCFMT_JUSTIFYMASK = 3 };
enum : unsigned long { LVS_EDITLABELS = 0x0200 };

// A list view in report style as a host's window system offers it: columns with caption,
// format and width; rows (items) with a text per column (sub item 0 is the item's own
// text), a check state and a selection. A host wraps its list view control in a class
// derived from this one; TCHeadlessListView is the complete one without a window system.
//
// Rules every implementation follows:
// - Inserting a row or a column at an index past the end appends; a negative index is
//   refused. Inserts answer the new index, or -1 when refused.
// - Sub item 0 of a row always exists; another sub item exists when its column does.
// - Cells follow their column when columns are inserted or deleted; check state and
//   selection follow their row.
// - Selecting a row makes it the only selected row and the focused one.
class TC_EXPORT TCListView {
public:
    virtual ~TCListView();

    virtual unsigned long GetStyle() const = 0;
    virtual void ModifyStyle(unsigned long remove, unsigned long add) = 0;
    // Width and height of the client area.
    virtual SIZE GetClientSize() const = 0;

    virtual int GetColumnCount() const = 0;
    // A width below 0 gives the default width.
    virtual int InsertColumn(int column, const char* caption, int format, int width, int subItem) = 0;
    virtual bool DeleteColumn(int column) = 0;
    // -1 for no such column.
    virtual int GetColumnFormat(int column) const = 0;
    virtual int GetColumnWidth(int column) const = 0;
    virtual bool SetColumnWidth(int column, int width) = 0;

    virtual int GetItemCount() const = 0;
    virtual int InsertItem(int row, const char* text) = 0;
    virtual bool DeleteItem(int row) = 0;
    virtual void DeleteAllItems() = 0;
    // "" for no such cell.
    virtual CString GetItemText(int row, int subItem) const = 0;
    virtual bool SetItemText(int row, int subItem, const char* text) = 0;
    virtual bool GetCheck(int row) const = 0;
    virtual bool SetCheck(int row, bool checked) = 0;

    // The first selected row, or -1.
    virtual int GetSelectedRow() const = 0;
    virtual bool SelectRow(int row) = 0;
    // Scrolls the least so that the row is wholly visible.
    virtual bool EnsureVisible(int row) = 0;
    // The first row shown at the top.
    virtual int GetTopIndex() const = 0;
    // The cell's rectangle in client coordinates; false for no such cell.
    virtual bool GetSubItemRect(int row, int subItem, RECT* rect) const = 0;
};
