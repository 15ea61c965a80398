// Creating, showing and destroying dialogs.
#include <new>

#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogStrings.h"

namespace {
constexpr unsigned kShowDialogMessage = 36001;
} // namespace

// The one place that makes and frees handles.
struct TCPropertyDialogLifecycle {
    static TCPropertyDialog* Create(TCBaseModule* module, const char* moduleName, const char* settingsName,
                                    HICON icon)
    {
        auto* record = new (std::nothrow) TCPropertyDialogImpl(module, moduleName, settingsName, icon);
        if (!record) {
            TCDestroyIcon(icon);
            return nullptr;
        }
        TCPropertyDialog* handle = new (std::nothrow) TCPropertyDialog(record);
        if (!handle)
            delete record;
        return handle;
    }

    // A sub-dialog of kind under parent, with the item of the same type that stands for it.
    static TCPropertyDialog& CreateSub(TCPropertyDialog& parent, TCPropertyDialogInfo::Types kind,
                                       const char* caption, bool newCaption)
    {
        TCPropertyDialogImpl* parentRecord = parent.Record();
        if (!parentRecord)
            return TCPropertyDialog::GetDummy();
        TCPropertyDialog* sub = Create(parentRecord->GetModule(), nullptr, nullptr, nullptr);
        if (!sub)
            return TCPropertyDialog::GetDummy();
        sub->m_pImpl->SetType(kind);
        const char* text = caption && *caption ? caption : TCPropertyDialogString(TCPD_STR_GENERAL_PROPERTIES);
        TCPropertyDialogInfo& item = TCPropertyDialogInfo::Create(parent, kind, sub, text);
        if (!item.IsValid()) {
            Free(sub);
            return TCPropertyDialog::GetDummy();
        }
        item.GetImpl()->SetFlag(TCPropertyDialogInfoImpl::FLAG_NEW_CAPTION, newCaption);
        sub->m_pImpl->SetParent(&parent, parentRecord);
        sub->m_pImpl->SetIndex(parentRecord->GetInfo().GetSize() - 1);
        return *sub;
    }

    static void Free(TCPropertyDialog* dialog)
    {
        delete dialog->m_pImpl;
        delete dialog;
    }

    // Frees dialog, its items and every dialog below it, one dialog at a time, so that
    // deep nesting needs no deep recursion.
    static void Destroy(TCPropertyDialog& dialog)
    {
        TCArray<TCPropertyDialog*> pending;
        pending.Add(&dialog);
        while (!pending.IsEmpty()) {
            TCPropertyDialog* current = pending[pending.GetSize() - 1];
            pending.SetSize(pending.GetSize() - 1 > 0 ? pending.GetSize() - 1 : -1);
            for (TCPropertyDialogInfoImpl* item : current->m_pImpl->GetInfo()) {
                if (!item)
                    continue;
                if (TCPropertyDialog* sub = item->GetSubDialog(); sub && sub->Record())
                    pending.Add(sub);
                TCPropertyDialogInfo* handle = item->GetInfo();
                if (handle)
                    delete handle;
                else
                    delete item;
            }
            Free(current);
        }
    }
};

TCPropertyDialog& TCCreatePropertyDialog(TCBaseModule* module, const char* moduleName,
                                         const char* defaultSettingsName, const unsigned int& iconId)
{
    HICON icon = iconId ? TCLoadIcon(nullptr, iconId) : nullptr;
    TCPropertyDialog* dialog = TCPropertyDialogLifecycle::Create(module, moduleName, defaultSettingsName, icon);
    return dialog ? *dialog : TCPropertyDialog::GetDummy();
}

TCPropertyDialog& TCCreateSubProperty(TCPropertyDialog& parent, const char* caption, const bool& newCaption)
{
    const TCPropertyDialogImpl* record = parent.IsValid() ? parent.GetImpl() : nullptr;
    if (!record || record->GetType() != TCPropertyDialogInfo::TYPE_SUBDIALOG)
        return TCPropertyDialog::GetDummy();
    return TCPropertyDialogLifecycle::CreateSub(parent, TCPropertyDialogInfo::TYPE_SUBDIALOG, caption, newCaption);
}

TCPropertyDialog& TCCreateInplaceProperty(TCPropertyDialog& parent, const char* caption)
{
    return TCPropertyDialogLifecycle::CreateSub(parent, TCPropertyDialogInfo::TYPE_INPLACE, caption, false);
}

TCPropertyDialog& TCCreateSubInplaceProperty(TCPropertyDialog& parent, const char* caption)
{
    return TCCreateInplaceProperty(TCCreateSubProperty(parent, caption, true), caption);
}

void TCDestroyPropertyDialog(TCPropertyDialog& dialog)
{
    TCPropertyDialogImpl* record = dialog.GetImpl();
    if (!record || record->IsDummy() || &dialog == &TCPropertyDialog::GetDummy())
        return;
    if (TCPropertyDialogInfoImpl* item = record->GetStandingItem(); item && item->GetVar() == &dialog)
        item->SetVar(nullptr);
    try {
        TCPropertyDialogLifecycle::Destroy(dialog);
    } catch (const std::bad_alloc&) {
        // Out of memory for the list of pending dialogs: what is left stays allocated.
    }
}

int TCShowPropertyDialog(TCPropertyDialog& dialog, int flags)
{
    TCPropertyDialogImpl* record = dialog.IsValid() ? dialog.GetImpl() : nullptr;
    TCHostWindow* host = TCGetHostWindow();
    if (!record || !record->IsTopLevel() || !host)
        return 2;
    record->SetFlags(flags);
    return int(host->Send(kShowDialogMessage, 1, reinterpret_cast<long>(&dialog)));
}

int TCUsePropertyDialog(int moduleFlags)
{
    return (moduleFlags >> 12) & 1;
}
