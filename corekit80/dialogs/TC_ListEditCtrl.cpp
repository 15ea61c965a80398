// The list edit control: column records, rows and their moves, content and cells.
#include "corekit80/dialogs/TC_ListEditCtrl.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>

#include "corekit80/dialogs/TC_ListEditCtrlImpl.h"

TC_ListEditCtrl::TC_ListEditCtrl(TCListView* view) : m_impl(new TC_ListEditCtrlImpl{view, {}, {}, {}, {}, {}}) {}

TC_ListEditCtrl::~TC_ListEditCtrl() { delete m_impl; }

TCListView* TC_ListEditCtrl::GetListView() const { return m_impl->view; }

void TC_ListEditCtrl::SetListView(TCListView* view)
{
    m_impl->editor.Cancel();
    m_impl->view = view;
}

CArray<CStringArray>& TC_ListEditCtrl::GetContent() { return m_impl->content; }

int TC_ListEditCtrl::InsertColumn(int column, Type type, unsigned long flags, const char* caption, int format,
                                  int width, int subItem)
{
    TCListView* view = m_impl->view;
    if (!view)
        return -1;
    if (!(view->GetStyle() & LVS_EDITLABELS))
        view->ModifyStyle(0, LVS_EDITLABELS);
    const int at = view->InsertColumn(column, caption, format, width, subItem);
    if (at >= 0)
        m_impl->columns[column] = {type, flags};
    return at;
}

TC_ListEditCtrl::Type TC_ListEditCtrl::GetColumnType(int column) const
{
    const auto it = m_impl->columns.find(column);
    return it == m_impl->columns.end() ? TYPE_NONE : it->second.type;
}

unsigned long TC_ListEditCtrl::GetAdditionalFlags(int column) const
{
    const auto it = m_impl->columns.find(column);
    return it == m_impl->columns.end() ? 0 : it->second.flags;
}

bool TC_ListEditCtrl::IsReadonly(int column) const { return GetAdditionalFlags(column) & FLAG_READONLY; }

void TC_ListEditCtrl::SetCell(int row, int column, const char* text)
{
    TCListView* view = m_impl->view;
    if (GetColumnType(column) != TYPE_CHECK) {
        view->SetItemText(row, column, text);
        return;
    }
    const bool checked = text && std::atoi(text) != 0;
    if (view->SetItemText(row, column, checked ? "1" : "0"))
        view->SetCheck(row, checked);
}

CString TC_ListEditCtrl::GetCell(int row, int column) const
{
    TCListView* view = m_impl->view;
    if (GetColumnType(column) == TYPE_CHECK)
        return view->GetCheck(row) ? "1" : "0";
    return view->GetItemText(row, column);
}

int TC_ListEditCtrl::InsertRow(int row, int count, const char* text0, ...)
{
    if (!m_impl->view)
        return -1;
    const int at = m_impl->view->InsertItem(row, "");
    if (at < 0)
        return -1;
    SetCell(at, 0, text0 ? text0 : "");
    va_list texts;
    va_start(texts, text0);
    for (int column = 1; column < count; ++column)
        if (const char* text = va_arg(texts, const char*))
            SetCell(at, column, text);
    va_end(texts);
    return at;
}

bool TC_ListEditCtrl::DeleteItem(int row)
{
    m_impl->editor.Cancel();
    TCListView* view = m_impl->view;
    if (!view || !view->DeleteItem(row))
        return false;
    if (const int count = view->GetItemCount())
        view->SelectRow(std::min(row, count - 1));
    return true;
}

int TC_ListEditCtrl::CopyRow(int from, int to)
{
    m_impl->editor.Cancel();
    TCListView* view = m_impl->view;
    if (!view || from == to || from < 0 || to < 0 || from >= view->GetItemCount())
        return -1;
    const int at = view->InsertItem(to, view->GetItemText(from, 0));
    if (at < 0)
        return -1;
    const int source = from > at ? from + 1 : from;
    view->SetCheck(at, view->GetCheck(source));
    view->SelectRow(at);
    for (int column = 1; column < view->GetColumnCount(); ++column)
        if (const CString text = view->GetItemText(source, column); !text.IsEmpty())
            view->SetItemText(at, column, text);
    return source;
}

bool TC_ListEditCtrl::MoveRow(int from, int to)
{
    const int source = CopyRow(from, to);
    // The plain delete: the copy stays the selected row.
    return source >= 0 && m_impl->view->DeleteItem(source);
}

bool TC_ListEditCtrl::MoveUp(int row)
{
    TCListView* view = m_impl->view;
    if (!view || row <= 0 || row >= view->GetItemCount() || !MoveRow(row, row - 1))
        return false;
    view->EnsureVisible(std::max(row - 2, 0));
    view->EnsureVisible(row - 1);
    return true;
}

bool TC_ListEditCtrl::MoveDown(int row)
{
    TCListView* view = m_impl->view;
    if (!view || row < 0 || row >= view->GetItemCount() - 1 || !MoveRow(row, row + 2))
        return false;
    view->EnsureVisible(std::min(row + 2, view->GetItemCount() - 1));
    view->EnsureVisible(row + 1);
    return true;
}

void TC_ListEditCtrl::RemoveAll()
{
    m_impl->editor.Cancel();
    if (TCListView* view = m_impl->view) {
        view->DeleteAllItems();
        for (int column = view->GetColumnCount() - 1; column >= 0; --column)
            view->DeleteColumn(column);
    }
    m_impl->columns.clear();
    m_impl->fractions.SetSize(0);
}

int TC_ListEditCtrl::NextSubItem(int column, int step, int& wrapped) const
{
    wrapped = 0;
    const int count = m_impl->view ? m_impl->view->GetColumnCount() : 0;
    step = step < 0 ? -1 : 1;
    column = std::clamp(column, -1, count);
    for (int tried = 0; tried < count; ++tried) {
        column += step;
        if (column >= count) {
            column = 0;
            wrapped = 1;
        } else if (column < 0) {
            column = count - 1;
            wrapped = -1;
        }
        if (!IsReadonly(column))
            return column;
    }
    return -1;
}

void TC_ListEditCtrl::DivideSpace(int n, double fraction, ...)
{
    CArray<double>& fractions = m_impl->fractions;
    fractions.SetSize(0);
    if (n <= 0)
        return;
    fractions.Add(fraction);
    va_list more;
    va_start(more, fraction);
    for (int i = 1; i < n; ++i)
        fractions.Add(va_arg(more, double));
    va_end(more);
}

const CArray<double>& TC_ListEditCtrl::GetSpaceFractions() const { return m_impl->fractions; }

void TC_ListEditCtrl::ResizeColumns()
{
    TCListView* view = m_impl->view;
    if (!view)
        return;
    const double width = view->GetClientSize().cx;
    const int n = std::min(m_impl->fractions.GetSize(), view->GetColumnCount());
    for (int column = 0; column < n; ++column)
        view->SetColumnWidth(column, int(std::clamp(m_impl->fractions[column], 0.0, 1.0) * width));
}

void TC_ListEditCtrl::AddCComboString(int column, const char* text) { m_impl->combos[column].Add(text ? text : ""); }

void TC_ListEditCtrl::AddCComboStrings(int column, const CStringArray& texts) { m_impl->combos[column].Append(texts); }

const CStringArray& TC_ListEditCtrl::GetCComboBoxArray(int, int column) { return m_impl->combos[column]; }

void TC_ListEditCtrl::ContentsToCtrl()
{
    m_impl->editor.Cancel();
    TCListView* view = m_impl->view;
    if (!view)
        return;
    const CArray<CStringArray>& content = m_impl->content;
    const int rows = content.GetSize();
    while (view->GetItemCount() < rows)
        if (view->InsertItem(view->GetItemCount(), "not filled") < 0)
            return;
    while (view->GetItemCount() > rows)
        view->DeleteItem(view->GetItemCount() - 1);
    for (int row = 0; row < rows; ++row)
        for (int index = 0; index < content[row].GetSize(); ++index)
            SetCell(row, MapIndexToColumn(index), content[row][index]);
}

void TC_ListEditCtrl::CtrlToContents()
{
    TCListView* view = m_impl->view;
    if (!view)
        return;
    CArray<CStringArray>& content = m_impl->content;
    content.SetSize(view->GetItemCount());
    for (int row = 0; row < content.GetSize(); ++row) {
        CStringArray& cells = content[row];
        cells.SetSize(-1);
        for (int column = 0; column < view->GetColumnCount(); ++column)
            if (const int index = MapColumnToIndex(column); index >= 0)
                cells.SetAtGrow(index, GetCell(row, column));
    }
}

int TC_ListEditCtrl::MapIndexToColumn(int index) const { return index; }

int TC_ListEditCtrl::MapColumnToIndex(int column) const { return column; }

CString TC_ListEditCtrl::ColorText(COLORREF color)
{
    CString text;
    text.Format("%d; %d; %d", int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    return text;
}

COLORREF TC_ListEditCtrl::ParseColorText(const char* text)
{
    COLORREF color = 0;
    const char* p = text ? text : "";
    for (int part = 0; part < 3; ++part) {
        char* end;
        const long value = std::strtol(p, &end, 10);
        if (end == p)
            break;
        color |= COLORREF(std::clamp(value, 0L, 255L)) << (8 * part);
        if (*end != ';')
            break;
        p = end + 1;
    }
    return color;
}
