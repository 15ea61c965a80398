// The dialog handle: queries, linking of items, and the modifiers.
#include "corekit80/propertydialog/TCPropertyDialog.h"

#include <new>

#include "corekit80/platform/CWnd.h"

namespace {
TCString Trimmed(const char* text)
{
    TCString trimmed(text);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}
} // namespace

TCPropertyDialog& TCPropertyDialog::GetDummy()
{
    static TCPropertyDialog dummy(nullptr);
    return dummy;
}

TCPropertyDialogImpl* TCPropertyDialog::Record() const
{
    return m_pImpl && !m_pImpl->IsDummy() ? m_pImpl : nullptr;
}

TCPropertyDialogImpl* TCPropertyDialog::GetTopLevel() const
{
    TCPropertyDialogImpl* record = Record();
    return record && record->IsTopLevel() ? record : nullptr;
}

TCPropertyDialogInfoImpl* TCPropertyDialog::GetStandingItem() const
{
    TCPropertyDialogImpl* record = Record();
    return record ? record->GetStandingItem() : nullptr;
}

bool TCPropertyDialog::IsValid() const { return Record() != nullptr; }

TCBaseModule* TCPropertyDialog::GetModule() const
{
    return Record() ? m_pImpl->GetModule() : nullptr;
}

int TCPropertyDialog::GetIndex() const { return Record() ? m_pImpl->GetIndex() : -1; }

void TCPropertyDialog::SetIndex(int index)
{
    if (Record())
        m_pImpl->SetIndex(index);
}

void TCPropertyDialog::SetParent(TCPropertyDialog* parent)
{
    TCPropertyDialogImpl* record = Record();
    TCPropertyDialogImpl* parentRecord = parent ? parent->Record() : nullptr;
    if (!record)
        return;
    // A dialog may not end up above itself: finding the top would never end.
    for (const TCPropertyDialogImpl* above = parentRecord; above; above = above->GetParentImpl()) {
        if (above == record)
            return;
        if (above->IsTopLevel())
            break;
    }
    record->SetParent(parent, parentRecord);
}

TCPropertyDialog* TCPropertyDialog::GetParent() const { return Record() ? m_pImpl->GetParent() : nullptr; }

const TCArray<TCPropertyDialogInfoImpl*>& TCPropertyDialog::GetInfo() const
{
    return Record() ? m_pImpl->GetInfo() : TCPropertyDialogImpl::GetDummy().GetInfo();
}

int TCPropertyDialog::Add(TCPropertyDialogInfo* item)
{
    TCPropertyDialogImpl* record = Record();
    if (!record || !item || !item->GetImpl())
        return -1;
    try {
        const int index = record->GetInfo().Add(item->GetImpl());
        item->GetImpl()->SetParent(record->GetStandingItem());
        item->GetImpl()->SetInfo(item);
        return index;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

TCPropertyDialogInfo* TCPropertyDialog::GetNext(TCPropertyDialogIterator& it) const
{
    return Record() ? m_pImpl->GetNext(it) : nullptr;
}

TCPropertyDialogInfo* TCPropertyDialog::GetNextWithSub(TCPropertyDialogIterator& it) const
{
    return Record() ? m_pImpl->GetNextWithSub(it) : nullptr;
}

TCPropertyDialog& TCPropertyDialog::UndisplayTree(const bool& undisplay)
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetUndisplayTree(undisplay ? 1 : 0);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::SetSize(int width, int height)
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetSize(width, height);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::ShowPreview(const TCArray<double>* points, const double* xMin,
                                                const double* xMax, const double* yMin, const double* yMax,
                                                const int* xTicks, const int* yTicks,
                                                const CStringArray* xTickTexts, const CStringArray* yTickTexts)
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->GetPreview() = {points, xMin, xMax, yMin, yMax, xTicks, yTicks, xTickTexts, yTickTexts};
    return *this;
}

TCPropertyDialog& TCPropertyDialog::SetDefaultSettingsName(const char* name)
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetDefaultSettingsName(name);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::DisableAutomaticBackup()
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetDisableAutomaticBackup(true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::ClearStatusField()
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetClearStatusField(true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::NeedsEditRight()
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetNeedsEditRight(true);
    else if (TCPropertyDialogInfoImpl* item = GetStandingItem())
        item->SetFlag(TCPropertyDialogInfoImpl::FLAG_NEEDS_EDIT_RIGHT, true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::ShowStatusField()
{
    if (TCPropertyDialogImpl* top = GetTopLevel())
        top->SetShowStatusField(true);
    else if (TCPropertyDialogInfoImpl* item = GetStandingItem())
        item->SetFlag(TCPropertyDialogInfoImpl::FLAG_HAS_STATUS_FIELD, true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::AddDynamicSubproperty(TCPropertyDialogInfoImpl::DynamicDialogFn fn,
                                                          const int* count, const void* arg1, const void* arg2)
{
    if (TCPropertyDialogInfoImpl* item = GetStandingItem()) {
        auto& dynamic = item->GetDynamicSub();
        dynamic.fn = fn;
        dynamic.count = count;
        dynamic.arg1 = arg1;
        dynamic.arg2 = arg2;
    }
    return *this;
}

TCPropertyDialog& TCPropertyDialog::Min(int value)
{
    if (TCPropertyDialogInfoImpl* item = GetStandingItem(); item && item->GetInfo())
        item->GetInfo()->Min(value);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::Max(int value)
{
    if (TCPropertyDialogInfoImpl* item = GetStandingItem(); item && item->GetInfo())
        item->GetInfo()->Max(value);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::BeginGroup()
{
    if (TCPropertyDialogInfoImpl* item = GetStandingItem())
        item->SetFlag(TCPropertyDialogInfoImpl::FLAG_BEGIN_GROUP, true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::Movable()
{
    if (TCPropertyDialogInfoImpl* item = GetStandingItem())
        item->SetFlag(TCPropertyDialogInfoImpl::FLAG_MOVABLE, true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::Delete()
{
    if (TCPropertyDialogInfoImpl* item = GetStandingItem()) {
        item->SetFlag(TCPropertyDialogInfoImpl::FLAG_DELETE, true);
        item->ReleaseDynamicSubs();
    }
    return *this;
}

TCPropertyDialog& TCPropertyDialog::MarkDisabled()
{
    TCPropertyDialogInfoImpl* item = GetStandingItem();
    if (item && item->GetType() == TCPropertyDialogInfo::TYPE_SUBDIALOG)
        item->SetFlag(TCPropertyDialogInfoImpl::FLAG_MARK_DISABLED, true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::URL(const char* url)
{
    if (TCPropertyDialogImpl* record = Record()) {
        const TCString text = Trimmed(url);
        record->SetURL(text);
        if (TCPropertyDialogInfoImpl* item = record->GetStandingItem())
            item->SetURL(text);
    }
    return *this;
}

TCPropertyDialog& TCPropertyDialog::Anchor(const char* anchor)
{
    if (TCPropertyDialogImpl* record = Record()) {
        const TCString text = Trimmed(anchor);
        record->SetAnchor(text);
        if (TCPropertyDialogInfoImpl* item = record->GetStandingItem())
            item->SetAnchor(text);
    }
    return *this;
}

TCPropertyDialog& TCPropertyDialog::UserHelpText(const char* text)
{
    if (TCPropertyDialogImpl* record = Record())
        record->SetUserHelpText(text, nullptr);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::UserHelpText(TCString* text)
{
    if (TCPropertyDialogImpl* record = Record())
        record->SetUserHelpText(text ? static_cast<const char*>(*text) : nullptr, text);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::IsInitialCallback()
{
    if (TCPropertyDialogImpl* record = Record())
        record->SetIsInitialCallback(true);
    return *this;
}

TCPropertyDialog& TCPropertyDialog::SetParentWindow(CWnd* window)
{
    if (TCPropertyDialogImpl* record = Record(); record && window && window->GetSafeHwnd())
        record->SetParentWindow(window);
    return *this;
}
