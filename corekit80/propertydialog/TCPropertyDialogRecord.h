#pragma once

// TCPropertyDialogImpl, the record of a property dialog that the host reads.

#include "corekit80/platform/TCResourceHandles.h"
#include "corekit80/propertydialog/TCPropertyCallbackSlot.h"
#include "corekit80/propertydialog/TCPropertyDialogInfo.h"
#include "corekit80/propertydialog/TCPropertyDialogIterator.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class CWnd;
class TCBaseModule;
class TCPropertyDialog;
class TCPropertyDialogInfoImpl;

// A message the host shows in the dialog: error, information or status text.
struct TCPropertyDialogMessage {
    TCString caption;
    TCString message;
    HICON icon = nullptr; // the caller's, or a shared stock icon
    bool isSet = false;
};

// The module's variables a preview graph is drawn from; all null until ShowPreview.
struct TCPropertyDialogPreview {
    const TCArray<double>* points = nullptr;
    const double* xMin = nullptr;
    const double* xMax = nullptr;
    const double* yMin = nullptr;
    const double* yMax = nullptr;
    const int* xTicks = nullptr;
    const int* yTicks = nullptr;
    const CStringArray* xTickTexts = nullptr;
    const CStringArray* yTickTexts = nullptr;
};

// The record of a dialog or sub-dialog: its items in order, its place in the parent,
// and what the host needs to show it. Only the library creates and frees records; the
// host reads them while the dialog is shown.
class TC_EXPORT TCPropertyDialogImpl {
public:
    // The icon is the record's from here on.
    TCPropertyDialogImpl(TCBaseModule* module, const char* moduleName, const char* defaultSettingsName,
                         HICON icon);
    TCPropertyDialogImpl(const TCPropertyDialogImpl&) = delete;
    TCPropertyDialogImpl& operator=(const TCPropertyDialogImpl&) = delete;
    // Frees the icon; the items belong to TCDestroyPropertyDialog.
    virtual ~TCPropertyDialogImpl();

    // The process-wide empty record; a handle on it is an empty handle.
    static TCPropertyDialogImpl& GetDummy();
    bool IsDummy() const { return this == &GetDummy(); }

    int GetVersion() const { return 25; }
    TCBaseModule* GetModule() const { return m_module; }
    const TCString& GetModuleName() const { return m_moduleName; }
    const TCString& GetDefaultSettingsName() const { return m_defaultSettingsName; }
    void SetDefaultSettingsName(const char* name) { m_defaultSettingsName = name; }
    TCArray<TCPropertyDialogInfoImpl*>& GetInfo() { return m_items; }
    const TCArray<TCPropertyDialogInfoImpl*>& GetInfo() const { return m_items; }

    // The parent dialog, its record and the index of the item that stands for this
    // dialog there (-1 until linked).
    TCPropertyDialog* GetParent() const { return m_parent; }
    TCPropertyDialogImpl* GetParentImpl() const { return m_parentImpl; }
    int GetIndex() const { return m_index; }
    void SetParent(TCPropertyDialog* parent, TCPropertyDialogImpl* parentImpl);
    void SetIndex(int index) { m_index = index; }
    bool IsTopLevel() const { return !m_parentImpl || m_parentImpl->IsDummy(); }
    // The item that stands for this dialog in its parent; null for a top-level dialog.
    TCPropertyDialogInfoImpl* GetStandingItem() const;
    // The top-level dialog above this one, following parent records.
    TCPropertyDialogImpl& GetMain();

    // The host's choice; -1 until set.
    int GetUndisplayTree() const { return m_undisplayTree; }
    void SetUndisplayTree(int value) { m_undisplayTree = value; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Negative sizes are stored as 0.
    void SetSize(int width, int height);
    const TCString& GetURL() const { return m_url; }
    void SetURL(const char* url) { m_url = url; }
    const TCString& GetAnchor() const { return m_anchor; }
    void SetAnchor(const char* anchor) { m_anchor = anchor; }
    HICON GetIcon() const { return m_icon; }
    bool GetNeedsEditRight() const { return m_needsEditRight; }
    void SetNeedsEditRight(bool on) { m_needsEditRight = on; }

    TCPropertyCallbackSlot<int>& GetCallbackSlot() { return m_callback; }
    TCPropertyCallbackSlot<int>& GetOKCallbackSlot() { return m_okCallback; }
    TCPropertyCallbackSlot<int>& GetCancelCallbackSlot() { return m_cancelCallback; }
    const TCPropertyCallbackSlot<int>& GetCallbackSlot() const { return m_callback; }
    const TCPropertyCallbackSlot<int>& GetOKCallbackSlot() const { return m_okCallback; }
    const TCPropertyCallbackSlot<int>& GetCancelCallbackSlot() const { return m_cancelCallback; }

    TCPropertyDialogMessage& GetErrorMessage() { return m_error; }
    TCPropertyDialogMessage& GetInfoMessage() { return m_info; }
    TCPropertyDialogMessage& GetStatusText() { return m_status; }
    TCPropertyDialogPreview& GetPreview() { return m_preview; }
    // True when a points array with at least one element is set.
    bool HasPreviewCallback() const;
    bool GetShowStatusField() const { return m_showStatusField; }
    void SetShowStatusField(bool on) { m_showStatusField = on; }
    bool GetClearStatusField() const { return m_clearStatusField; }
    void SetClearStatusField(bool on) { m_clearStatusField = on; }

    // 1 for a dialog or sub-dialog, 2 for a sub-dialog drawn in place.
    TCPropertyDialogInfo::Types GetType() const { return m_type; }
    void SetType(TCPropertyDialogInfo::Types type) { m_type = type; }
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }
    bool GetIsInitialCallback() const { return m_isInitialCallback; }
    void SetIsInitialCallback(bool on) { m_isInitialCallback = on; }
    const TCString& GetEditorName() const { return m_editorName; }
    const TCString& GetEditorLines() const { return m_editorLine; }
    void SetEditorMark(const char* editorName, const char* line);
    bool GetDisableAutomaticBackup() const { return m_disableAutomaticBackup; }
    void SetDisableAutomaticBackup(bool on) { m_disableAutomaticBackup = on; }
    // The caller's string when one is remembered, else the dialog's own copy.
    const TCString& GetUserHelpText() const { return m_callerHelpText ? *m_callerHelpText : m_helpText; }
    void SetUserHelpText(const char* text, TCString* callerText);
    CWnd* GetParentWindow() const { return m_parentWindow; }
    void SetParentWindow(CWnd* window) { m_parentWindow = window; }

    // The walks over the items: each call returns the next item's handle, null at the end.
    // Items of type 1 and 2 stand for their sub-dialogs: GetNext returns the sub-dialog's
    // items in their place, GetNextWithSub returns the item and then the sub-dialog's
    // items, GetNextWithSubVisible does so but skips the items of a disabled sub-dialog.
    TCPropertyDialogInfo* GetNext(TCPropertyDialogIterator& it) const;
    TCPropertyDialogInfo* GetNextWithSub(TCPropertyDialogIterator& it) const;
    TCPropertyDialogInfo* GetNextWithSubVisible(TCPropertyDialogIterator& it) const;

private:
    enum class Walk { ITEMS, WITH_SUB, VISIBLE };
    TCPropertyDialogInfo* Next(TCPropertyDialogIterator& it, Walk walk) const;
    TCPropertyDialogInfo* Step(TCPropertyDialogIterator& it, Walk walk) const;

    TCBaseModule* m_module;
    TCString m_moduleName;
    TCString m_defaultSettingsName;
    TCArray<TCPropertyDialogInfoImpl*> m_items;
    TCPropertyDialog* m_parent = nullptr;
    TCPropertyDialogImpl* m_parentImpl = nullptr;
    int m_index = -1;
    int m_undisplayTree = -1;
    int m_width = 0;
    int m_height = 0;
    TCString m_url;
    TCString m_anchor;
    HICON m_icon;
    bool m_needsEditRight = false;
    TCPropertyCallbackSlot<int> m_callback;
    TCPropertyCallbackSlot<int> m_okCallback;
    TCPropertyCallbackSlot<int> m_cancelCallback;
    TCPropertyDialogMessage m_error;
    TCPropertyDialogMessage m_info;
    TCPropertyDialogMessage m_status;
    TCPropertyDialogPreview m_preview;
    bool m_showStatusField = false;
    bool m_clearStatusField = false;
    TCPropertyDialogInfo::Types m_type = TCPropertyDialogInfo::TYPE_SUBDIALOG;
    int m_flags = 0;
    bool m_isInitialCallback = false;
    TCString m_editorName;
    TCString m_editorLine;
    bool m_disableAutomaticBackup = false;
    TCString m_helpText;
    TCString* m_callerHelpText = nullptr;
    CWnd* m_parentWindow = nullptr;
};
