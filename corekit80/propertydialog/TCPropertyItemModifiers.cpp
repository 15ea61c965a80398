// The item modifiers, each acting only on the item types it serves.
#include "corekit80/archive/ConvertStringToArray.h"
#include "corekit80/propertydialog/TCPropertyCodeSetImpl.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

namespace {
using Item = TCPropertyDialogInfoImpl;

constexpr TCPropertyCodeSet kFilter = {12, 16, 17, 30, 31, 32, 33, 35, 40, 42, 43, 51, 52};
constexpr TCPropertyCodeSet kFlags = {9, 10, 11, 12, 13, 16, 17, 27, 29, 33, 34, 40, 41, 42, 43, 51, 52};
constexpr TCPropertyCodeSet kDefaultPath = {12, 13, 16, 17, 40, 41, 42, 43};
constexpr TCPropertyCodeSet kDefaultExtension = {12, 16, 17, 33, 40, 42, 43, 51, 52};
constexpr TCPropertyCodeSet kCaption = {3, 4, 5, 6, 12, 13, 16, 17, 24, 33, 34, 38, 40, 41, 42, 43, 48, 51, 52};
constexpr TCPropertyCodeSet kOpenSave = {12, 33, 40};
constexpr TCPropertyCodeSet kCustomColors = {11};
constexpr TCPropertyCodeSet kEditor = {28, 47};
constexpr TCPropertyCodeSet kListCtrl = {27};
constexpr TCPropertyCodeSet kIntCombo = {14, 25};
constexpr TCPropertyCodeSet kMasked = {5, 24};
constexpr TCPropertyCodeSet kPort = {5, 15, 23, 24, 36, 45, 46};
constexpr TCPropertyCodeSet kReadOnly = {3, 4, 5, 6, 24, 36, 37, 38, 48};
constexpr TCPropertyCodeSet kStatusField = {1, 27, 28, 47};

// The record when the item's type is one of codes.
Item* Of(Item* item, TCPropertyCodeSet codes)
{
    return item && codes.Has(item->GetType()) ? item : nullptr;
}

TCString Trimmed(const char* text)
{
    TCString trimmed(text);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}

template <class Function, class Fn>
void SetFunction(Function& target, Fn fn, const void* arg1, const void* arg2)
{
    target.fn = fn;
    target.arg1 = arg1;
    target.arg2 = arg2;
}

template <class Dynamic, class Fn>
void SetDynamic(Dynamic& target, Fn fn, const int* count, const void* arg1, const void* arg2)
{
    SetFunction(target, fn, arg1, arg2);
    target.count = count;
}
} // namespace

TCPropertyCallbackSlot<bool>* TCPropertyDialogInfo::IsEnabledSlot()
{
    return m_pImpl ? &m_pImpl->GetIsEnabledSlot() : nullptr;
}

TCPropertyCallbackSlot<int>* TCPropertyDialogInfo::CallbackSlot()
{
    return m_pImpl ? &m_pImpl->GetCallbackSlot() : nullptr;
}

TCPropertyCallbackSlot<int>* TCPropertyDialogInfo::RangeCallbackSlot()
{
    return m_pImpl ? &m_pImpl->GetRangeCallbackSlot() : nullptr;
}

TCPropertyCallbackSlot<TCString>* TCPropertyDialogInfo::DynamicCaptionSlot()
{
    return m_pImpl ? &m_pImpl->GetDynamicCaptionSlot() : nullptr;
}

TCPropertyCallbackSlot<int>* TCPropertyDialogInfo::DynamicColorSlot()
{
    return m_pImpl ? &m_pImpl->GetDynamicColorSlot() : nullptr;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::URL(const char* url)
{
    if (m_pImpl)
        m_pImpl->SetURL(Trimmed(url));
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Anchor(const char* anchor)
{
    if (m_pImpl)
        m_pImpl->SetAnchor(Trimmed(anchor));
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::UserHelpText(const char* text)
{
    if (m_pImpl)
        m_pImpl->SetUserHelpText(text);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::UserHelpText(TCString* text)
{
    if (m_pImpl)
        m_pImpl->SetUserHelpText(text ? static_cast<const char*>(*text) : nullptr, text);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalFilter(const char* filter)
{
    if (Item* item = Of(m_pImpl, kFilter))
        item->GetChooserExtras().filter = filter;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalFilter(const void* data)
{
    if (Item* item = Of(m_pImpl, kFilter))
        item->GetChooserExtras().filterData = data;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalFlags(unsigned int flags)
{
    if (Item* item = Of(m_pImpl, kFlags))
        item->GetChooserExtras().flags = flags;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalDefaultPath(const char* path)
{
    if (Item* item = Of(m_pImpl, kDefaultPath))
        item->GetChooserExtras().defaultPath = path;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalDefaultExtension(const char* extension)
{
    if (Item* item = Of(m_pImpl, kDefaultExtension))
        item->GetChooserExtras().defaultExtension = extension;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalCaption(const char* text)
{
    if (Item* item = Of(m_pImpl, kCaption))
        item->SetAdditionalText(text);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalOpenSave(int open)
{
    if (Item* item = Of(m_pImpl, kOpenSave))
        item->GetChooserExtras().openSave = open;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetAdditionalCustomColors(unsigned long* colours)
{
    if (Item* item = Of(m_pImpl, kCustomColors))
        item->GetChooserExtras().argument = colours;
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::PasswordVerify(PasswordFn fn, const void* arg1, const void* arg2)
{
    if (m_pImpl)
        SetFunction(m_pImpl->GetPasswordVerify(), fn, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::ButtonClicked(ButtonFn fn, const void* arg1, const void* arg2,
                                                          const char* text)
{
    if (m_pImpl) {
        SetFunction(m_pImpl->GetButtonClicked(), fn, arg1, arg2);
        if (text && *text)
            m_pImpl->SetAdditionalText(text);
    }
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::AddDynamicItem(DynamicItemFn fn, const int* count, const void* arg1,
                                                           const void* arg2)
{
    if (m_pImpl)
        SetDynamic(m_pImpl->GetDynamicItem(), fn, count, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::AddDynamicSubproperty(DynamicDialogFn fn, const int* count,
                                                                  const void* arg1, const void* arg2)
{
    if (m_pImpl)
        SetDynamic(m_pImpl->GetDynamicSub(), fn, count, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::AddDynamicInplaceProperty(DynamicDialogFn fn, const int* count,
                                                                      const void* arg1, const void* arg2)
{
    if (m_pImpl)
        SetDynamic(m_pImpl->GetDynamicInplace(), fn, count, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::ReplaceItem(ReplaceItemFn fn, const void* arg1, const void* arg2)
{
    if (m_pImpl)
        SetFunction(m_pImpl->GetReplaceItem(), fn, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::ReplaceSubproperty(ReplaceDialogFn fn, const void* arg1,
                                                               const void* arg2)
{
    if (m_pImpl)
        SetFunction(m_pImpl->GetReplaceSub(), fn, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::AddEditorButtons(const CStringArray& captions, GridFn fn,
                                                             const void* arg1, const void* arg2)
{
    if (Item* item = Of(m_pImpl, kEditor)) {
        item->GetEditorButtons().Copy(captions);
        SetFunction(item->GetGridCallback(), fn, arg1, arg2);
    }
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::AddListCtrlCallback(GridFn fn, const void* arg1, const void* arg2)
{
    if (Item* item = Of(m_pImpl, kListCtrl))
        SetFunction(item->GetGridCallback(), fn, arg1, arg2);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::AddToCaption(const char* divider, const char* texts)
{
    if (Item* item = Of(m_pImpl, kIntCombo)) {
        item->GetCaptionExtras().divider = divider;
        ConvertStringToStrArray(texts, item->GetCaptionExtras().captionContents, "\n", false);
        item->SetFlag(Item::FLAG_NEW_CAPTION, true);
    }
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::SetMask(const char* mask, const char* literal, const char& prompt)
{
    if (Item* item = Of(m_pImpl, kMasked)) {
        TCPropertyCaptionExtras& extras = item->GetCaptionExtras();
        extras.mask = mask;
        extras.literal = literal;
        extras.prompt = prompt;
    }
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::DigitsOnly()
{
    if (Item* item = Of(m_pImpl, kMasked))
        item->SetFlag(Item::FLAG_DIGITS_ONLY, true);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::IsPort(const PORTTYPE& type, const char* message)
{
    if (Item* item = Of(m_pImpl, kPort)) {
        item->GetPortLink().type = type;
        item->GetPortLink().message = message;
    }
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::IsReadOnly()
{
    if (Item* item = Of(m_pImpl, kReadOnly))
        item->SetFlag(Item::FLAG_READ_ONLY, true);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::ShowStatusField()
{
    if (Item* item = Of(m_pImpl, kStatusField))
        item->SetFlag(Item::FLAG_HAS_STATUS_FIELD, true);
    return *this;
}

// The flags any item may carry.
#define TC_ITEM_FLAG_MODIFIER(name, flag)                                                                        \
    TCPropertyDialogInfo& TCPropertyDialogInfo::name()                                                           \
    {                                                                                                            \
        if (m_pImpl)                                                                                             \
            m_pImpl->SetFlag(Item::flag, true);                                                                  \
        return *this;                                                                                            \
    }
TC_ITEM_FLAG_MODIFIER(Delete, FLAG_DELETE)
TC_ITEM_FLAG_MODIFIER(DynamicChanges, FLAG_DYNAMIC_CHANGES)
TC_ITEM_FLAG_MODIFIER(NeedsEditRight, FLAG_NEEDS_EDIT_RIGHT)
TC_ITEM_FLAG_MODIFIER(AlwaysVisible, FLAG_ALWAYS_VISIBLE)
TC_ITEM_FLAG_MODIFIER(IsInitialCallback, FLAG_INITIAL_CALLBACK)
TC_ITEM_FLAG_MODIFIER(IsHidden, FLAG_HIDDEN)
