// The dialog record: its place in the tree and the values the host reads.
#include "corekit80/propertydialog/TCPropertyDialogRecord.h"

#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

TCPropertyDialogImpl::TCPropertyDialogImpl(TCBaseModule* module, const char* moduleName,
                                           const char* defaultSettingsName, HICON icon)
    : m_module(module), m_moduleName(moduleName), m_defaultSettingsName(defaultSettingsName), m_icon(icon)
{
}

TCPropertyDialogImpl::~TCPropertyDialogImpl()
{
    TCDestroyIcon(m_icon);
}

TCPropertyDialogImpl& TCPropertyDialogImpl::GetDummy()
{
    static TCPropertyDialogImpl dummy(nullptr, nullptr, nullptr, nullptr);
    return dummy;
}

void TCPropertyDialogImpl::SetParent(TCPropertyDialog* parent, TCPropertyDialogImpl* parentImpl)
{
    m_parent = parent;
    m_parentImpl = parentImpl;
}

TCPropertyDialogInfoImpl* TCPropertyDialogImpl::GetStandingItem() const
{
    if (IsTopLevel() || m_index < 0 || m_index >= m_parentImpl->m_items.GetSize())
        return nullptr;
    return m_parentImpl->m_items[m_index];
}

TCPropertyDialogImpl& TCPropertyDialogImpl::GetMain()
{
    TCPropertyDialogImpl* dialog = this;
    while (!dialog->IsTopLevel())
        dialog = dialog->m_parentImpl;
    return *dialog;
}

void TCPropertyDialogImpl::SetSize(int width, int height)
{
    m_width = width < 0 ? 0 : width;
    m_height = height < 0 ? 0 : height;
}

bool TCPropertyDialogImpl::HasPreviewCallback() const
{
    return m_preview.points && m_preview.points->GetSize() >= 1;
}

void TCPropertyDialogImpl::SetEditorMark(const char* editorName, const char* line)
{
    m_editorName = editorName;
    m_editorLine = line;
}

void TCPropertyDialogImpl::SetUserHelpText(const char* text, TCString* callerText)
{
    m_helpText = text;
    m_helpText.TrimLeft();
    m_helpText.TrimRight();
    m_callerHelpText = callerText;
}
