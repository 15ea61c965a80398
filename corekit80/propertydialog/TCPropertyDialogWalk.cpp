// The three walks over a dialog's items, continued across calls by the iterator alone.
#include <new>

#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"
#include "corekit80/propertydialog/TCPropertyDialogRecord.h"

namespace {
const TCPropertyDialogImpl* SubRecord(const TCPropertyDialogInfoImpl* item)
{
    const TCPropertyDialog* sub = item->GetSubDialog();
    return sub && sub->IsValid() ? sub->GetImpl() : nullptr;
}

// Replaces the top pair.
void SetTop(TCPropertyDialogIterator& it, int index, bool flag)
{
    int oldIndex;
    bool oldFlag;
    it.Pop(oldIndex, oldFlag);
    it.Push(index, flag);
}

// The dialog of the iterator's top level, reached from root through the levels below it.
// A level that no longer leads to a sub-dialog (the tree changed between calls) becomes
// the top, moved past its item.
const TCPropertyDialogImpl* TopDialog(const TCPropertyDialogImpl* root, TCPropertyDialogIterator& it)
{
    const TCPropertyDialogImpl* dialog = root;
    for (int depth = 0; depth + 1 < it.GetDepth(); ++depth) {
        const TCPropertyDialogIterator::Level level = it.GetLevel(depth);
        const auto& items = dialog->GetInfo();
        const bool inRange = level.index >= 0 && level.index < items.GetSize() && items[level.index];
        const TCPropertyDialogImpl* sub = inRange ? SubRecord(items[level.index]) : nullptr;
        if (!sub || !level.flag) {
            int index;
            bool flag;
            while (it.GetDepth() > depth + 1)
                it.Pop(index, flag);
            SetTop(it, level.index + 1, false);
            return dialog;
        }
        dialog = sub;
    }
    return dialog;
}
} // namespace

TCPropertyDialogInfo* TCPropertyDialogImpl::Next(TCPropertyDialogIterator& it, Walk walk) const
{
    // Growing the iterator can run out of memory: the walk then ends.
    try {
        return Step(it, walk);
    } catch (const std::bad_alloc&) {
        it.SetFinished();
        return nullptr;
    }
}

TCPropertyDialogInfo* TCPropertyDialogImpl::Step(TCPropertyDialogIterator& it, Walk walk) const
{
    if (it.IsFinished())
        return nullptr;
    if (it.IsEmpty())
        it.Push(0, false);
    for (;;) {
        const TCPropertyDialogImpl* dialog = TopDialog(this, it);
        int index;
        bool flag;
        it.Pop(index, flag);
        if (index < 0 || index >= dialog->m_items.GetSize()) {
            if (it.IsEmpty()) {
                it.SetFinished();
                return nullptr;
            }
            SetTop(it, it.GetLevel(it.GetDepth() - 1).index + 1, false);
            continue;
        }
        const TCPropertyDialogInfoImpl* item = dialog->m_items[index];
        if (!item) {
            it.Push(index + 1, false);
            continue;
        }
        const TCPropertyDialogImpl* sub = SubRecord(item);
        if (flag) {
            // The item was returned (or passed over by GetNext): its sub-dialog comes now.
            const bool enabled = item->GetFlag(TCPropertyDialogInfoImpl::FLAG_ENABLED);
            const bool descend = sub && (walk != Walk::VISIBLE || enabled);
            it.Push(descend ? index : index + 1, descend);
            if (descend)
                it.Push(0, false);
            continue;
        }
        const bool isSub = item->GetType() == TCPropertyDialogInfo::TYPE_SUBDIALOG ||
                           item->GetType() == TCPropertyDialogInfo::TYPE_INPLACE;
        it.Push(isSub ? index : index + 1, isSub);
        if ((isSub && walk == Walk::ITEMS) || !item->GetInfo())
            continue;
        return item->GetInfo();
    }
}

TCPropertyDialogInfo* TCPropertyDialogImpl::GetNext(TCPropertyDialogIterator& it) const
{
    return Next(it, Walk::ITEMS);
}

TCPropertyDialogInfo* TCPropertyDialogImpl::GetNextWithSub(TCPropertyDialogIterator& it) const
{
    return Next(it, Walk::WITH_SUB);
}

TCPropertyDialogInfo* TCPropertyDialogImpl::GetNextWithSubVisible(TCPropertyDialogIterator& it) const
{
    return Next(it, Walk::VISIBLE);
}
