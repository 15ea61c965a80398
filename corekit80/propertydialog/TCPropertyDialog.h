#pragma once

// TCPropertyDialog, the handle of a property dialog, and the functions that create,
// show and destroy dialogs.

#include "corekit80/platform/TCResourceHandles.h"
#include "corekit80/propertydialog/TCPropertyCallbackSlot.h"
#include "corekit80/propertydialog/TCPropertyDialogInfo.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"
#include "corekit80/propertydialog/TCPropertyDialogIterator.h"
#include "corekit80/propertydialog/TCPropertyDialogRecord.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class CWnd;
class TCBaseModule;

// The handle a module holds for a dialog or sub-dialog that describes its parameters.
// It points at the dialog's record (TCPropertyDialogImpl), which the host reads to draw
// the dialog. Handles are made and freed by the functions below only. A handle without a
// record, or on the empty record, is empty: its modifiers do nothing and its queries
// answer empty results, so a failed creation (which returns GetDummy) can be chained.
//
// The modifiers return the handle. Some act only on a top-level dialog, some only on
// the item that stands for a sub-dialog in its parent; on the other kind they do nothing.
// Callback setters take a function of n = 0 to 4 untyped constant pointers and the n
// arguments to call it with.
class TC_EXPORT TCPropertyDialog {
public:
    TCPropertyDialog(const TCPropertyDialog&) = delete;
    TCPropertyDialog& operator=(const TCPropertyDialog&) = delete;

    // The process-wide empty handle.
    static TCPropertyDialog& GetDummy();

    // The record; null for the empty handle.
    TCPropertyDialogImpl* GetImpl() const { return m_pImpl; }
    // The handle has a record and it is not the empty record.
    bool IsValid() const;
    TCBaseModule* GetModule() const;
    // The index of the item that stands for this sub-dialog in its parent; -1 at the top.
    int GetIndex() const;
    void SetIndex(int index);
    // Links this dialog under parent (null: makes it top-level again); ignored when parent
    // is this dialog or lies below it.
    void SetParent(TCPropertyDialog* parent);
    TCPropertyDialog* GetParent() const;
    // The items in order (the empty array for an empty handle).
    const TCArray<TCPropertyDialogInfoImpl*>& GetInfo() const;
    // Appends the item and returns its index; -1 for an empty handle or an empty item.
    // The item's parent link becomes the item that stands for this dialog in its parent.
    // The dialog owns the item from here on: an item belongs to one dialog, once.
    int Add(TCPropertyDialogInfo* item);

    // The walks (see TCPropertyDialogImpl::GetNext); Reset starts a walk again.
    void Reset(TCPropertyDialogIterator& it) const { it.Reset(); }
    TCPropertyDialogInfo* GetNext(TCPropertyDialogIterator& it) const;
    TCPropertyDialogInfo* GetNextWithSub(TCPropertyDialogIterator& it) const;

    // Top-level dialogs only.
    template <class... A>
    TCPropertyDialog& OKCallback(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        if (TCPropertyDialogImpl* top = GetTopLevel())
            top->GetOKCallbackSlot().Set(fn, args...);
        return *this;
    }
    template <class... A>
    TCPropertyDialog& CancelCallback(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        if (TCPropertyDialogImpl* top = GetTopLevel())
            top->GetCancelCallbackSlot().Set(fn, args...);
        return *this;
    }
    TCPropertyDialog& UndisplayTree(const bool& undisplay);
    // Negative sizes are stored as 0.
    TCPropertyDialog& SetSize(int width, int height);
    // The module's variables a preview graph is drawn from, read whenever it is drawn.
    TCPropertyDialog& ShowPreview(const TCArray<double>* points, const double* xMin, const double* xMax,
                                  const double* yMin, const double* yMax, const int* xTicks,
                                  const int* yTicks, const CStringArray* xTickTexts,
                                  const CStringArray* yTickTexts);
    TCPropertyDialog& SetDefaultSettingsName(const char* name);
    TCPropertyDialog& DisableAutomaticBackup();
    TCPropertyDialog& ClearStatusField();

    // A top-level dialog itself, or the item that stands for a sub-dialog.
    TCPropertyDialog& NeedsEditRight();
    TCPropertyDialog& ShowStatusField();

    // The item that stands for a sub-dialog only.
    template <class... A>
    TCPropertyDialog& Callback(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        if (TCPropertyDialogInfoImpl* item = GetStandingItem())
            item->GetCallbackSlot().Set(fn, args...);
        return *this;
    }
    template <class... A>
    TCPropertyDialog& IsEnabled(bool (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        if (TCPropertyDialogInfoImpl* item = GetStandingItem())
            item->GetIsEnabledSlot().Set(fn, args...);
        return *this;
    }
    template <class... A>
    TCPropertyDialog& DynamicCaption(TCString (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        if (TCPropertyDialogInfoImpl* item = GetStandingItem())
            item->GetDynamicCaptionSlot().Set(fn, args...);
        return *this;
    }
    template <class... A>
    TCPropertyDialog& DynamicColor(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        if (TCPropertyDialogInfoImpl* item = GetStandingItem())
            item->GetDynamicColorSlot().Set(fn, args...);
        return *this;
    }
    // fn makes one sub-dialog per index below *count (see TCPropertyDynamic).
    TCPropertyDialog& AddDynamicSubproperty(TCPropertyDialogInfoImpl::DynamicDialogFn fn, const int* count,
                                            const void* arg1, const void* arg2);
    TCPropertyDialog& Min(int value);
    TCPropertyDialog& Max(int value);
    TCPropertyDialog& BeginGroup();
    TCPropertyDialog& Movable();
    // Marks the item for deletion and destroys the sub-dialogs its dynamic function made.
    TCPropertyDialog& Delete();
    // Only when the standing item is of type 1.
    TCPropertyDialog& MarkDisabled();

    // Any dialog. URL and Anchor are trimmed and, on a sub-dialog, also given to the item
    // that stands for it; help texts are trimmed, and the TCString* form remembers the
    // caller's string, whose current text the host then shows.
    TCPropertyDialog& URL(const char* url);
    TCPropertyDialog& Anchor(const char* anchor);
    TCPropertyDialog& UserHelpText(const char* text);
    TCPropertyDialog& UserHelpText(TCString* text);
    TCPropertyDialog& IsInitialCallback();
    // Stored only when the window exists (has a window-system handle).
    TCPropertyDialog& SetParentWindow(CWnd* window);

private:
    friend struct TCPropertyDialogLifecycle;
    explicit TCPropertyDialog(TCPropertyDialogImpl* impl) : m_pImpl(impl) {}
    ~TCPropertyDialog() = default;

    // The record, null for an empty handle.
    TCPropertyDialogImpl* Record() const;
    TCPropertyDialogImpl* GetTopLevel() const;
    TCPropertyDialogInfoImpl* GetStandingItem() const;

    TCPropertyDialogImpl* m_pImpl;
};

// A new top-level dialog of module; the icon with resource number iconId (none for 0) is
// loaded from the current resource module. GetDummy when memory runs out.
TC_EXPORT TCPropertyDialog& TCCreatePropertyDialog(TCBaseModule* module, const char* moduleName,
                                                   const char* defaultSettingsName,
                                                   const unsigned int& iconId = 0);
// A sub-dialog under parent, which must be an ordinary (not in-place) dialog, and the item
// of type 1 that stands for it there, captioned caption or, when that is empty, "General
// properties" in the resource language. GetDummy when it cannot be made.
TC_EXPORT TCPropertyDialog& TCCreateSubProperty(TCPropertyDialog& parent, const char* caption,
                                                const bool& newCaption = false);
// The same for a sub-dialog drawn in place (item type 2), under a dialog of any kind.
TC_EXPORT TCPropertyDialog& TCCreateInplaceProperty(TCPropertyDialog& parent, const char* caption);
// A sub-dialog (with a new caption) holding an in-place sub-dialog; returns the latter.
TC_EXPORT TCPropertyDialog& TCCreateSubInplaceProperty(TCPropertyDialog& parent, const char* caption);
// Frees the dialog with its items and sub-dialogs. A sub-dialog is also unhooked from
// the item of its parent that stood for it (that item then has no variable), so that the
// parent's own destruction does not free it again. Nothing for the empty handle.
TC_EXPORT void TCDestroyPropertyDialog(TCPropertyDialog& dialog);
// Hands a top-level dialog to the host's main window (message 36001, wParam 1, lParam the
// handle's address) with flags stored in it, and returns the host's answer (1 OK). 2
// without showing for an empty handle, a sub-dialog, or when there is no host window.
TC_EXPORT int TCShowPropertyDialog(TCPropertyDialog& dialog, int flags);
// Whether a module's flags ask for a property dialog: bit 12 (0x1000) as 0 or 1.
TC_EXPORT int TCUsePropertyDialog(int moduleFlags);

// Messages and marks of the top-level dialog above dialog. The default icons are the stock
// stop sign (errors) and "i" (information).
TC_EXPORT void TCPropertyDialogSetErrorMessage(TCPropertyDialog& dialog, const char* caption,
                                               const char* message, HICON icon = nullptr);
TC_EXPORT void TCPropertyDialogSetInfoMessage(TCPropertyDialog& dialog, const char* caption,
                                              const char* message, HICON icon = nullptr);
TC_EXPORT void TCPropertyDialogSetStatusText(TCPropertyDialog& dialog, const char* caption,
                                             const char* message);
TC_EXPORT void TCPropertyDialogClearStatusField(TCPropertyDialog& dialog);
// Marks a line of the named source editor; only when both texts are non-empty.
TC_EXPORT void TCPropertyEditorMarkLine(TCPropertyDialog& dialog, const char* editorName, const char* line);
// The same with a line number; nothing for 0 or below -1.
TC_EXPORT void TCPropertyEditorMarkLine(TCPropertyDialog& dialog, const char* editorName, int line);
