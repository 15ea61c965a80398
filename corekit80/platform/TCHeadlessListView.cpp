// The headless list view: columns, rows, check states, selection and scrolling in memory.
#include "corekit80/platform/TCHeadlessListView.h"

#include <algorithm>

namespace {

constexpr int kMaxSize = 32767;

SIZE Bounded(SIZE s) { return SIZE{std::clamp(s.cx, 0, kMaxSize), std::clamp(s.cy, 0, kMaxSize)}; }

} // namespace

TCListView::~TCListView() = default;

TCHeadlessListView::TCHeadlessListView(SIZE client) : m_client(Bounded(client)) {}

TCHeadlessListView::~TCHeadlessListView() = default;

void TCHeadlessListView::SetClientSize(SIZE client)
{
    m_client = Bounded(client);
    KeepTopInRange();
}

CString TCHeadlessListView::GetColumnCaption(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[size_t(column)].caption : CString();
}

int TCHeadlessListView::GetColumnSubItem(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[size_t(column)].subItem : -1;
}

unsigned long TCHeadlessListView::GetStyle() const { return m_style; }

void TCHeadlessListView::ModifyStyle(unsigned long remove, unsigned long add) { m_style = (m_style & ~remove) | add; }

SIZE TCHeadlessListView::GetClientSize() const { return m_client; }

int TCHeadlessListView::GetColumnCount() const { return int(m_columns.size()); }

int TCHeadlessListView::InsertColumn(int column, const char* caption, int format, int width, int subItem)
{
    if (column < 0)
        return -1;
    const int at = std::min(column, GetColumnCount());
    m_columns.insert(m_columns.begin() + at, Column{caption ? caption : "", format & LVCFMT_JUSTIFYMASK,
                                                    width < 0 ? int(defaultColumnWidth) : std::min(width, kMaxSize),
                                                    subItem < 0 ? at : subItem});
    // Sub item 0 exists without a column: the first column takes it over.
    if (m_columns.size() > 1)
        for (Row& r : m_rows)
            r.cells.insert(r.cells.begin() + at, CString());
    return at;
}

bool TCHeadlessListView::DeleteColumn(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return false;
    m_columns.erase(m_columns.begin() + column);
    for (Row& r : m_rows) {
        if (r.cells.size() > 1)
            r.cells.erase(r.cells.begin() + column);
        else
            r.cells[0].Empty();
    }
    return true;
}

int TCHeadlessListView::GetColumnFormat(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[size_t(column)].format : -1;
}

int TCHeadlessListView::GetColumnWidth(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[size_t(column)].width : 0;
}

bool TCHeadlessListView::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= GetColumnCount())
        return false;
    m_columns[size_t(column)].width = std::clamp(width, 0, kMaxSize);
    return true;
}

int TCHeadlessListView::GetItemCount() const { return int(m_rows.size()); }

int TCHeadlessListView::InsertItem(int row, const char* text)
{
    if (row < 0)
        return -1;
    const int at = std::min(row, GetItemCount());
    Row r;
    r.cells.resize(std::max<size_t>(m_columns.size(), 1));
    r.cells[0] = text ? text : "";
    m_rows.insert(m_rows.begin() + at, std::move(r));
    return at;
}

bool TCHeadlessListView::DeleteItem(int row)
{
    if (!HasRow(row))
        return false;
    m_rows.erase(m_rows.begin() + row);
    KeepTopInRange();
    return true;
}

void TCHeadlessListView::DeleteAllItems()
{
    m_rows.clear();
    m_top = 0;
}

bool TCHeadlessListView::HasCell(int row, int subItem) const
{
    return HasRow(row) && subItem >= 0 && subItem < int(m_rows[size_t(row)].cells.size());
}

CString TCHeadlessListView::GetItemText(int row, int subItem) const
{
    return HasCell(row, subItem) ? m_rows[size_t(row)].cells[size_t(subItem)] : CString();
}

bool TCHeadlessListView::SetItemText(int row, int subItem, const char* text)
{
    if (!HasCell(row, subItem))
        return false;
    m_rows[size_t(row)].cells[size_t(subItem)] = text ? text : "";
    return true;
}

bool TCHeadlessListView::GetCheck(int row) const { return HasRow(row) && m_rows[size_t(row)].checked; }

bool TCHeadlessListView::SetCheck(int row, bool checked)
{
    if (!HasRow(row))
        return false;
    m_rows[size_t(row)].checked = checked;
    return true;
}

int TCHeadlessListView::GetSelectedRow() const
{
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.selected; });
    return it == m_rows.end() ? -1 : int(it - m_rows.begin());
}

bool TCHeadlessListView::SelectRow(int row)
{
    if (!HasRow(row))
        return false;
    for (Row& r : m_rows)
        r.selected = false;
    m_rows[size_t(row)].selected = true;
    return true;
}

int TCHeadlessListView::RowsShown() const { return std::max(0, (m_client.cy - headerHeight) / rowHeight); }

void TCHeadlessListView::KeepTopInRange() { m_top = std::max(0, std::min(m_top, GetItemCount() - std::max(RowsShown(), 1))); }

bool TCHeadlessListView::EnsureVisible(int row)
{
    if (!HasRow(row))
        return false;
    if (row < m_top)
        m_top = row;
    else if (row >= m_top + std::max(RowsShown(), 1))
        m_top = row - std::max(RowsShown(), 1) + 1;
    return true;
}

int TCHeadlessListView::GetTopIndex() const { return m_top; }

bool TCHeadlessListView::GetSubItemRect(int row, int subItem, RECT* rect) const
{
    if (!rect || !HasRow(row) || subItem < 0 || subItem >= std::max(GetColumnCount(), 1))
        return false;
    int left = 0;
    for (int c = 0; c < subItem; ++c)
        left += m_columns[size_t(c)].width;
    const int top = headerHeight + (row - m_top) * rowHeight;
    *rect = RECT{left, top, left + GetColumnWidth(subItem), top + rowHeight};
    return true;
}
