// The item handle: creation with its record, linking, and the empty handle.
#include "corekit80/propertydialog/TCPropertyDialogInfo.h"

#include <new>

#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

TCPropertyDialogInfo::~TCPropertyDialogInfo()
{
    delete m_pImpl;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::GetDummy()
{
    static TCPropertyDialogInfo dummy(nullptr);
    return dummy;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Create(TCPropertyDialog& dialog, Types type, void* var,
                                                   const char* caption)
{
    TCPropertyDialogInfo* item = nullptr;
    try {
        item = new TCPropertyDialogInfo(nullptr);
        item->m_pImpl = new TCPropertyDialogInfoImpl(type, var, caption);
        item->m_pImpl->SetInfo(item);
    } catch (const std::bad_alloc&) {
        delete item;
        return GetDummy();
    }
    if (dialog.IsValid() && dialog.Add(item) < 0) {
        delete item;
        return GetDummy();
    }
    return *item;
}
