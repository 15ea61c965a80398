#pragma once

// TCHeadlessListView, the complete list view without a window system.

#include <vector>

#include "corekit80/platform/TCListView.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

// A list view kept in memory that follows every rule of TCListView. Geometry: a header of
// headerHeight pixels, rows of rowHeight pixels below it, columns side by side from the
// left in index order; the rows that fit below the header are shown from the top index
// on. It is what runs when no window system is there (tests, batch runs) and the rule
// book a host's list view follows.
class TC_EXPORT TCHeadlessListView : public TCListView {
public:
    enum { headerHeight = 21, rowHeight = 17, defaultColumnWidth = 60 };

    explicit TCHeadlessListView(SIZE client = SIZE{400, 300});
    ~TCHeadlessListView() override;

    // Sizes are kept within 0 to 32767; the top index follows so that rows stay shown.
    void SetClientSize(SIZE client);
    CString GetColumnCaption(int column) const;
    int GetColumnSubItem(int column) const;

    unsigned long GetStyle() const override;
    void ModifyStyle(unsigned long remove, unsigned long add) override;
    SIZE GetClientSize() const override;
    int GetColumnCount() const override;
    int InsertColumn(int column, const char* caption, int format, int width, int subItem) override;
    bool DeleteColumn(int column) override;
    int GetColumnFormat(int column) const override;
    int GetColumnWidth(int column) const override;
    bool SetColumnWidth(int column, int width) override;
    int GetItemCount() const override;
    int InsertItem(int row, const char* text) override;
    bool DeleteItem(int row) override;
    void DeleteAllItems() override;
    CString GetItemText(int row, int subItem) const override;
    bool SetItemText(int row, int subItem, const char* text) override;
    bool GetCheck(int row) const override;
    bool SetCheck(int row, bool checked) override;
    int GetSelectedRow() const override;
    bool SelectRow(int row) override;
    bool EnsureVisible(int row) override;
    int GetTopIndex() const override;
    bool GetSubItemRect(int row, int subItem, RECT* rect) const override;

private:
    struct Column {
        CString caption;
        int format;
        int width;
        int subItem;
    };
    struct Row {
        std::vector<CString> cells;  // one per column, at least one
        bool checked = false;
        bool selected = false;
    };

    bool HasRow(int row) const { return row >= 0 && row < GetItemCount(); }
    bool HasCell(int row, int subItem) const;
    int RowsShown() const;
    void KeepTopInRange();

    unsigned long m_style = 0;
    SIZE m_client;
    int m_top = 0;
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};
