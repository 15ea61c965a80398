// The host that shows property dialogs by applying edits given as text.
#include "corekit80/propertydialog/TCPropertyDialogHost.h"

#include <vector>

#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogText.h"
#include "corekit80/propertydialog/TCPropertyEditTextImpl.h"
#include "corekit80/propertydialog/TCPropertyValueWriterImpl.h"

namespace {
using Item = TCPropertyDialogInfoImpl;

constexpr unsigned kShowDialogMessage = 36001;

// Moves the texts the module set into log, one line each.
void CollectMessages(TCPropertyDialogImpl& main, TCString& log)
{
    const struct {
        const char* kind;
        TCPropertyDialogMessage& message;
    } messages[] = {{"error", main.GetErrorMessage()}, {"info", main.GetInfoMessage()}, {"status", main.GetStatusText()}};
    for (const auto& m : messages) {
        if (m.message.isSet)
            log.FormatAppend("%s: %s: %s\n", m.kind, static_cast<const char*>(m.message.caption),
                             static_cast<const char*>(m.message.message));
        m.message.isSet = false;
    }
}

// Whether the user could edit the item: shown, enabled and not read-only.
bool Editable(const Item& item, TCString& why)
{
    if (item.GetFlag(Item::FLAG_HIDDEN) || item.GetFlag(Item::FLAG_DELETED))
        why = "is not shown";
    else if (!item.EvaluateEnabled())
        why = "is disabled";
    else if (item.GetFlag(Item::FLAG_READ_ONLY) && !item.IsComboboxItem())
        why = "is read-only";
    else
        return true;
    return false;
}

// The item at path below dialog; null with the reason in error.
Item* Find(const TCPropertyDialogImpl& dialog, const std::vector<TCString>& path, TCString& error)
{
    const TCPropertyDialogImpl* level = &dialog;
    TCString walked;
    for (size_t step = 0; step < path.size(); ++step) {
        Item* found = nullptr;
        for (Item* item : level->GetInfo()) {
            if (item && item->GetText() == path[step]) {
                found = item;
                break;
            }
        }
        walked += (step ? "/" : "") + path[step];
        TCString why;
        if (!found)
            error.Format("no item \"%s\"", static_cast<const char*>(walked));
        else if (step + 1 < path.size() && !found->IsSubdialogItem())
            error.Format("\"%s\" is no sub-dialog", static_cast<const char*>(walked));
        else if (!Editable(*found, why))
            error.Format("\"%s\" %s", static_cast<const char*>(walked), static_cast<const char*>(why));
        else if (step + 1 == path.size())
            return found;
        else if (const TCPropertyDialog* sub = found->GetSubDialog(); sub && sub->IsValid()) {
            level = sub->GetImpl();
            continue;
        } else
            error.Format("\"%s\" has no sub-dialog", static_cast<const char*>(walked));
        return nullptr;
    }
    return nullptr;
}

// One edit, with its callbacks; false with the reason in error.
bool Apply(TCPropertyDialogImpl& dialog, const char* edit, TCPropertyUndo& undo, TCString& error)
{
    std::vector<TCString> path;
    TCString value;
    if (!TCPropertyParseEdit(edit, path, value, error))
        return false;
    Item* item = Find(dialog, path, error);
    if (!item)
        return false;
    item->GetRangeCallbackSlot().Call(0);
    const size_t before = undo.size();
    if (!TCPropertyWriteValue(*item, value, undo, error))
        return false;
    const auto& verify = item->GetPasswordVerify();
    if (verify.fn && !verify.fn(verify.arg1, verify.arg2)) {
        while (undo.size() > before) {
            undo.back()();
            undo.pop_back();
        }
        error = "the password was not verified";
        return false;
    }
    item->GetCallbackSlot().Call(0);
    return true;
}
} // namespace

long TCPropertyDialogHost::Send(unsigned message, unsigned long wParam, long lParam)
{
    if (message == kShowDialogMessage && wParam == 1)
        return Show(reinterpret_cast<TCPropertyDialog*>(lParam));
    return m_next ? m_next->Send(message, wParam, lParam) : 0;
}

int TCPropertyDialogHost::Show(TCPropertyDialog* dialog)
{
    m_text.Empty();
    m_error.Empty();
    m_messages.Empty();
    if (!dialog || !dialog->IsValid() || !dialog->GetImpl()->IsTopLevel()) {
        m_error = "no top-level dialog to show";
        return 2;
    }
    ++m_shown;
    TCPropertyDialogImpl& main = *dialog->GetImpl();
    TCPropertyDialogIterator it;
    while (TCPropertyDialogInfo* info = dialog->GetNextWithSub(it)) {
        if (main.GetIsInitialCallback() || info->GetImpl()->GetFlag(Item::FLAG_INITIAL_CALLBACK))
            info->GetImpl()->GetCallbackSlot().Call(0);
    }
    CollectMessages(main, m_messages);

    TCPropertyUndo undo;
    for (int i = 0; i < m_edits.GetSize() && m_error.IsEmpty(); ++i) {
        TCString why;
        if (!Apply(main, m_edits[i], undo, why))
            m_error.Format("%s: %s", static_cast<const char*>(m_edits[i]), static_cast<const char*>(why));
        CollectMessages(main, m_messages);
    }
    if (!m_error.IsEmpty()) {
        for (auto restore = undo.rbegin(); restore != undo.rend(); ++restore)
            (*restore)();
        main.GetCancelCallbackSlot().Call(0);
    } else
        main.GetOKCallbackSlot().Call(0);
    CollectMessages(main, m_messages);
    m_text = TCPropertyDialogText(*dialog);
    return m_error.IsEmpty() ? 1 : 2;
}
