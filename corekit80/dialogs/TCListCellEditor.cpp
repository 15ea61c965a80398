// The in-place editors: opening one over a cell, editing by type, choosers, commit and cancel.
#include "corekit80/dialogs/TCListCellEditor.h"

#include <sys/stat.h>
#include <unistd.h>

#include "corekit80/dialogs/TC_ListEditCtrl.h"
#include "corekit80/dialogs/TC_ListEditCtrlImpl.h"
#include "corekit80/platform/TCColorChooser.h"
#include "corekit80/platform/TCPathUI.h"

namespace {

using Ctrl = TC_ListEditCtrl;

bool IsCombo(int type) { return type == Ctrl::TYPE_COMBO || type == Ctrl::TYPE_COMBO_DROPDOWN || type == Ctrl::TYPE_COMBO_LIST; }

bool IsChoice(const CStringArray& choices, const char* text)
{
    for (int i = 0; i < choices.GetSize(); ++i)
        if (choices[i] == text)
            return true;
    return false;
}

// What the file chooser's answer must be: an existing file to open, no read-only file to save.
bool FitsChooser(int type, const char* path)
{
    struct stat s;
    if (!*path)
        return false;
    const bool exists = ::stat(path, &s) == 0;
    if (type == Ctrl::TYPE_FILE_OPEN)
        return exists && S_ISREG(s.st_mode);
    return !exists || (S_ISREG(s.st_mode) && ::access(path, W_OK) == 0);
}

} // namespace

TCListCellEditor* TC_ListEditCtrl::EditSubItem(int row, int column)
{
    TCListCellEditor& editor = m_impl->editor;
    editor.Commit();
    TCListView* view = m_impl->view;
    const int type = GetColumnType(column);
    if (!view || IsReadonly(column) || type < TYPE_CHECK || type > TYPE_PASSWORD || row < 0 ||
        row >= view->GetItemCount() || column < 0 || column >= view->GetColumnCount())
        return nullptr;
    view->EnsureVisible(row);
    editor.m_type = type;
    editor.m_row = row;
    editor.m_column = column;
    if (!view->GetSubItemRect(row, column, &editor.m_rect))
        editor.m_rect = RECT{};
    editor.m_alignment = type == TYPE_EDIT ? view->GetColumnFormat(column) & LVCFMT_JUSTIFYMASK : LVCFMT_LEFT;
    editor.m_choices.SetSize(0);
    if (IsCombo(type))
        editor.m_choices.Copy(GetCComboBoxArray(row, column));
    editor.m_text = GetCell(row, column);
    editor.m_owner = this;
    return &editor;
}

TCListCellEditor& TC_ListEditCtrl::GetEditor() { return m_impl->editor; }

const TCListCellEditor& TC_ListEditCtrl::GetEditor() const { return m_impl->editor; }

CString TCListCellEditor::GetShownText() const
{
    if (m_type != TC_ListEditCtrl::TYPE_PASSWORD)
        return m_text;
    CString stars;
    for (int i = 0; i < m_text.GetLength(); ++i)
        if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80)  // one per UTF-8 character
            stars += '*';
    return stars;
}

bool TCListCellEditor::SetText(const char* text)
{
    text = text ? text : "";
    if (!IsOpen() || (m_type == Ctrl::TYPE_COMBO_LIST && !IsChoice(m_choices, text)) ||
        (m_type == Ctrl::TYPE_CHECK && CString(text) != "1" && CString(text) != "0"))
        return false;
    m_text = text;
    return true;
}

bool TCListCellEditor::Choose(int index)
{
    return index >= 0 && index < m_choices.GetSize() && SetText(m_choices[index]);
}

bool TCListCellEditor::Toggle() { return m_type == Ctrl::TYPE_CHECK && SetText(m_text == "1" ? "0" : "1"); }

int TCListCellEditor::RunChooser()
{
    if (IsOpen() && m_type == Ctrl::TYPE_COLOR) {
        COLORREF chosen = Ctrl::ParseColorText(m_text);
        const int result = TCRunColorChooser(chosen, nullptr, chosen);
        if (result == TCFileChooserRequest::RESULT_OK)
            m_text = Ctrl::ColorText(chosen);
        return result;
    }
    if (IsOpen() && (m_type == Ctrl::TYPE_FILE_SAVE || m_type == Ctrl::TYPE_FILE_OPEN)) {
        const TCFileChooserRequest request{
            m_type == Ctrl::TYPE_FILE_SAVE ? TCFileChooserRequest::SAVE_FILE : TCFileChooserRequest::OPEN_FILE,
            m_text, nullptr, nullptr, nullptr, nullptr};
        TCString chosen;
        if (TCRunFileChooser(request, chosen) != TCFileChooserRequest::RESULT_OK || !FitsChooser(m_type, chosen))
            return TCFileChooserRequest::RESULT_CANCEL;
        m_text = static_cast<const char*>(chosen);
        return TCFileChooserRequest::RESULT_OK;
    }
    return TCFileChooserRequest::RESULT_CANCEL;
}

bool TCListCellEditor::Commit()
{
    TC_ListEditCtrl* owner = m_owner;
    if (!owner)
        return false;
    m_owner = nullptr;
    TCListView* view = owner->GetListView();
    if (!view || m_row >= view->GetItemCount() || m_column >= view->GetColumnCount())
        return false;
    owner->SetCell(m_row, m_column, m_text);
    return true;
}

void TCListCellEditor::Cancel() { m_owner = nullptr; }
