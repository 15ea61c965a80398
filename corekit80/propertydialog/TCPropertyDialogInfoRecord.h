#pragma once

// TCPropertyDialogInfoImpl, the record of one property-dialog item that the host reads.

#include <cstdint>

#include "corekit80/propertydialog/TCPropertyBound.h"
#include "corekit80/propertydialog/TCPropertyCallbackSlot.h"
#include "corekit80/propertydialog/TCPropertyDialogInfo.h"
#include "corekit80/propertydialog/TCPropertyItemParts.h"
#include "corekit80/propertydialog/TCPropertyListHeader.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// The record of one item: what the host needs to draw its control, read and write the
// module's variable, check its range and call its callbacks. Only the library creates
// and frees records (through the item handle that owns it); the host reads them and may
// set the host-side fields (handles, produced items, the flags it keeps).
class TC_EXPORT TCPropertyDialogInfoImpl {
public:
    using Types = TCPropertyDialogInfo::Types;

    // Yes/no properties. HORIZONTAL, ENABLED and DYNAMIC start set, the others clear.
    enum Flag : int {
        FLAG_READ_ONLY,
        FLAG_HORIZONTAL,
        FLAG_MARK_DISABLED,
        FLAG_ALWAYS_VISIBLE,
        FLAG_HIDDEN,
        FLAG_BEGIN_GROUP,
        FLAG_DIGITS_ONLY,
        FLAG_BELOW_SEPARATOR,
        FLAG_LAST_ELEMENT,
        FLAG_HAS_STATUS_FIELD,
        FLAG_ENABLED,
        FLAG_NEEDS_EDIT_RIGHT,
        FLAG_INITIAL_CALLBACK,
        FLAG_PARAMETERSOURCE_PARAMETER,
        FLAG_DELETE,
        FLAG_DYNAMIC_CHANGES,
        FLAG_MOVABLE,
        FLAG_DELETED,
        FLAG_DYNAMIC,
        FLAG_EVENT,
        FLAG_WAS_CREATED,
        FLAG_SELECTED,
        FLAG_NEW_CAPTION,
        FLAG_DYNAMIC_COMBO_CONTENTS,
        FLAG_NEEDS_RANGE_CHECK,
        FLAG_COUNT
    };

    // Functions of the callbacks that are not plain slots (see TCPropertyDialogInfo).
    using ButtonFn = TCPropertyDialogInfo::ButtonFn;
    using PasswordFn = TCPropertyDialogInfo::PasswordFn;
    using GridFn = TCPropertyDialogInfo::GridFn;
    using DynamicItemFn = TCPropertyDialogInfo::DynamicItemFn;
    using DynamicDialogFn = TCPropertyDialogInfo::DynamicDialogFn;
    using ReplaceItemFn = TCPropertyDialogInfo::ReplaceItemFn;
    using ReplaceDialogFn = TCPropertyDialogInfo::ReplaceDialogFn;

    TCPropertyDialogInfoImpl(Types type, void* var, const char* caption);
    TCPropertyDialogInfoImpl(const TCPropertyDialogInfoImpl&) = delete;
    TCPropertyDialogInfoImpl& operator=(const TCPropertyDialogInfoImpl&) = delete;
    // Frees the items and dialogs the dynamic and replacing functions produced.
    ~TCPropertyDialogInfoImpl();

    // The name of a flag in the text form ("read-only"); null outside the enumeration.
    static const char* GetFlagName(Flag flag);
    // Whether a new record has the flag set.
    static bool GetDefaultFlag(Flag flag);

    // Identity.
    Types GetType() const { return m_type; }
    void SetType(Types type) { m_type = type; }
    void* GetVar() const { return m_var; }
    void SetVar(void* var) { m_var = var; }
    void* GetVarEx() const { return m_varEx; }
    void SetVarEx(void* var) { m_varEx = var; }
    const TCString& GetText() const { return m_text; }
    void SetText(const char* text) { m_text = text; }
    bool GetIsNewCaption() const { return GetFlag(FLAG_NEW_CAPTION); }
    const TCString& GetAdditionalText() const { return m_additionalText; }
    void SetAdditionalText(const char* text) { m_additionalText = text; }
    int GetVersion() const { return 25; }

    bool GetFlag(Flag flag) const { return (m_flags >> flag) & 1u; }
    void SetFlag(Flag flag, bool on)
    {
        m_flags = on ? m_flags | (1u << flag) : m_flags & ~(1u << flag);
    }

    // List contents: the caller's array when one is set, else the item's own.
    const CStringArray& GetContents() const { return m_callerContents ? *m_callerContents : m_contents; }
    CStringArray& GetOwnContents() { return m_contents; }
    CStringArray* GetCallerContents() const { return m_callerContents; }
    // Uses the caller's array (read again whenever shown) and marks the contents dynamic.
    void SetCallerContents(CStringArray* contents);
    // Entries, or lines of a multi-line item.
    int GetSize() const { return m_size; }
    void SetSize(int size) { m_size = size; }

    // Range. The is-int flags say whether the item's value is an integer: true for every
    // type but the double ones (4, 26, 50).
    TCPropertyBound& Lower() { return m_lower; }
    TCPropertyBound& Upper() { return m_upper; }
    const TCPropertyBound& Lower() const { return m_lower; }
    const TCPropertyBound& Upper() const { return m_upper; }
    // Where the bound lives: the record's own value, the caller's variable, or null.
    const void* GetLowerBound() const { return m_lower.Get(); }
    const void* GetUpperBound() const { return m_upper.Get(); }
    // The effective bounds: the bound's value, or when absent the extreme of the item's
    // value type (int, unsigned int for type 48, double).
    double GetLowerValue() const;
    double GetUpperValue() const;
    bool GetIsIntLower() const { return IsIntValued(); }
    bool GetIsIntUpper() const { return IsIntValued(); }
    bool GetNeedsRangeCheck() const { return GetFlag(FLAG_NEEDS_RANGE_CHECK); }
    // Makes the present bounds fit the item, where they live (in the item or in the
    // caller's variable): below 0 becomes 0 for the items whose bounds are lengths or
    // counts (5 6 7 12 13 16 17 27 28 33 34 47 51 52), above 259 becomes 259 for file
    // choosers (the longest path). A lower bound above the upper one is left so.
    void NormalizeRange();
    double GetDelta() const { return m_delta; }
    void SetDelta(double delta) { m_delta = delta; }
    int GetUseStandardBehaviour() const { return m_useStandardBehaviour; }
    void SetUseStandardBehaviour(int behaviour) { m_useStandardBehaviour = behaviour; }

    // The number that a combo's entry stands for, for int and double values: the value
    // itself when an entry stands for it, else the largest number when the value is at
    // least that, else the smallest. With plainNumbers each entry is a number (an integer
    // for the int forms); without, the integer before its first ":", an entry without
    // one standing for the number of the entry before it (0 for the first). min and max
    // receive the smallest and largest number seen before the answer was found; with no
    // entries they stay INT_MAX and INT_MIN (DBL_MAX and -DBL_MAX), and the answer is
    // INT_MIN (-DBL_MAX). Doubles are equal by TCCompareDBL::IsEqual.
    static int CheckValueForSpecialComboBox(int value, const CStringArray& entries, bool plainNumbers);
    static int CheckValueForSpecialComboBox(int value, const CStringArray& entries, bool plainNumbers, int& min,
                                            int& max);
    static double CheckValueForSpecialComboBox(double value, const CStringArray& entries, bool plainNumbers);
    static double CheckValueForSpecialComboBox(double value, const CStringArray& entries, bool plainNumbers,
                                               double& min, double& max);

    // The groups of types (TCPropertyItemKind) this item belongs to.
    bool IsKind(TCPropertyItemKind kind) const { return TCPropertyDialogInfo::IsKind(m_type, kind); }
    bool IsIntItem() const { return IsKind(TCPD_KIND_INT); }
    bool IsNumberItem() const { return IsKind(TCPD_KIND_NUMBER); }
    bool IsDblItem() const { return IsKind(TCPD_KIND_DBL); }
    bool IsStringItem() const { return IsKind(TCPD_KIND_STRING); }
    bool IsTCStringItem() const { return IsKind(TCPD_KIND_TCSTRING); }
    bool IsTCTranslatedStringItem() const { return IsKind(TCPD_KIND_TRANSLATED); }
    bool IsFilePathItem() const { return IsKind(TCPD_KIND_FILEPATH); }
    bool IsFilechooserItem() const { return IsKind(TCPD_KIND_FILECHOOSER); }
    bool IsComboboxItem() const { return IsKind(TCPD_KIND_COMBOBOX); }
    bool IsIntComboboxItem() const { return IsKind(TCPD_KIND_INT_COMBOBOX); }
    bool IsDblComboboxItem() const { return IsKind(TCPD_KIND_DBL_COMBOBOX); }
    bool IsStringComboboxItem() const { return IsKind(TCPD_KIND_STRING_COMBOBOX); }
    bool IsTCStringComboboxItem() const { return IsKind(TCPD_KIND_TCSTRING_COMBOBOX); }
    bool IsBoolItem() const { return IsKind(TCPD_KIND_BOOL); }
    bool IsButtonItem() const { return IsKind(TCPD_KIND_BUTTON); }
    bool IsSpinnerItem() const { return IsKind(TCPD_KIND_SPINNER); }
    bool IsSubdialogItem() const { return IsKind(TCPD_KIND_SUBDIALOG); }
    bool IsEditorItem() const { return IsKind(TCPD_KIND_EDITOR); }
    bool IsSpecialGridItem() const { return IsKind(TCPD_KIND_SPECIAL_GRID); }
    bool IsOwnGridItem() const { return IsKind(TCPD_KIND_OWN_GRID); }

    // Help.
    const TCString& GetURL() const { return m_url; }
    void SetURL(const char* url) { m_url = url; }
    const TCString& GetAnchor() const { return m_anchor; }
    void SetAnchor(const char* anchor) { m_anchor = anchor; }
    // The caller's string when one is remembered, else the item's own copy.
    const TCString& GetUserHelpText() const { return m_callerHelpText ? *m_callerHelpText : m_helpText; }
    void SetUserHelpText(const char* text, TCString* callerText = nullptr);

    TCPropertyCaptionExtras& GetCaptionExtras() { return m_caption; }
    const TCPropertyCaptionExtras& GetCaptionExtras() const { return m_caption; }
    TCPropertyChooserExtras& GetChooserExtras() { return m_chooser; }
    const TCPropertyChooserExtras& GetChooserExtras() const { return m_chooser; }
    TCPropertyPortLink& GetPortLink() { return m_port; }
    const TCPropertyPortLink& GetPortLink() const { return m_port; }
    TCArray<TCPropertyListHeader>& GetListHeaders() { return m_headers; }
    const TCArray<TCPropertyListHeader>& GetListHeaders() const { return m_headers; }

    // Callbacks.
    TCPropertyCallbackSlot<bool>& GetIsEnabledSlot() { return m_isEnabled; }
    TCPropertyCallbackSlot<int>& GetCallbackSlot() { return m_callback; }
    TCPropertyCallbackSlot<TCString>& GetDynamicCaptionSlot() { return m_dynamicCaption; }
    TCPropertyCallbackSlot<int>& GetDynamicColorSlot() { return m_dynamicColor; }
    TCPropertyCallbackSlot<int>& GetRangeCallbackSlot() { return m_rangeCallback; }
    const TCPropertyCallbackSlot<bool>& GetIsEnabledSlot() const { return m_isEnabled; }
    const TCPropertyCallbackSlot<int>& GetCallbackSlot() const { return m_callback; }
    const TCPropertyCallbackSlot<TCString>& GetDynamicCaptionSlot() const { return m_dynamicCaption; }
    const TCPropertyCallbackSlot<int>& GetDynamicColorSlot() const { return m_dynamicColor; }
    const TCPropertyCallbackSlot<int>& GetRangeCallbackSlot() const { return m_rangeCallback; }
    TCPropertyFunction<ButtonFn>& GetButtonClicked() { return m_buttonClicked; }
    const TCPropertyFunction<ButtonFn>& GetButtonClicked() const { return m_buttonClicked; }
    TCPropertyFunction<PasswordFn>& GetPasswordVerify() { return m_passwordVerify; }
    const TCPropertyFunction<PasswordFn>& GetPasswordVerify() const { return m_passwordVerify; }
    // The editor's button captions; the grid function serves them and the list control.
    CStringArray& GetEditorButtons() { return m_editorButtons; }
    const CStringArray& GetEditorButtons() const { return m_editorButtons; }
    TCPropertyFunction<GridFn>& GetGridCallback() { return m_grid; }
    const TCPropertyFunction<GridFn>& GetGridCallback() const { return m_grid; }
    TCPropertyDynamic<DynamicItemFn, TCPropertyDialogInfo>& GetDynamicItem() { return m_dynamicItem; }
    const TCPropertyDynamic<DynamicItemFn, TCPropertyDialogInfo>& GetDynamicItem() const { return m_dynamicItem; }
    TCPropertyDynamic<DynamicDialogFn, TCPropertyDialog>& GetDynamicSub() { return m_dynamicSub; }
    const TCPropertyDynamic<DynamicDialogFn, TCPropertyDialog>& GetDynamicSub() const { return m_dynamicSub; }
    TCPropertyDynamic<DynamicDialogFn, TCPropertyDialog>& GetDynamicInplace() { return m_dynamicInplace; }
    const TCPropertyDynamic<DynamicDialogFn, TCPropertyDialog>& GetDynamicInplace() const { return m_dynamicInplace; }
    TCPropertyReplacement<ReplaceItemFn, TCPropertyDialogInfo>& GetReplaceItem() { return m_replaceItem; }
    const TCPropertyReplacement<ReplaceItemFn, TCPropertyDialogInfo>& GetReplaceItem() const { return m_replaceItem; }
    TCPropertyReplacement<ReplaceDialogFn, TCPropertyDialog>& GetReplaceSub() { return m_replaceSub; }
    const TCPropertyReplacement<ReplaceDialogFn, TCPropertyDialog>& GetReplaceSub() const { return m_replaceSub; }
    // Destroys the dialogs the dynamic sub-dialog function produced and forgets them.
    void ReleaseDynamicSubs();

    // Links: the item that stands for this item's dialog in its parent (null at the top),
    // the handle that owns this record, the sub number and the host's objects.
    TCPropertyDialogInfoImpl* GetParent() const { return m_parent; }
    void SetParent(TCPropertyDialogInfoImpl* parent) { m_parent = parent; }
    TCPropertyDialogInfo* GetInfo() const { return m_info; }
    void SetInfo(TCPropertyDialogInfo* info) { m_info = info; }
    int GetSubNumber() const { return m_subNumber; }
    void SetSubNumber(int number) { m_subNumber = number; }
    TCPropertyHostHandles& GetHostHandles() { return m_host; }

    // The sub-dialog of an item of type 1 or 2; null for other items or once destroyed.
    TCPropertyDialog* GetSubDialog() const;
    // The enabled state: the IsEnabled callback's answer when one is set, else the flag.
    bool EvaluateEnabled() const;

private:
    bool IsIntValued() const;

    Types m_type;
    void* m_var;
    void* m_varEx = nullptr;
    TCString m_text;
    TCString m_additionalText;
    uint32_t m_flags;

    CStringArray m_contents;
    CStringArray* m_callerContents = nullptr;
    int m_size = 0;

    TCPropertyBound m_lower;
    TCPropertyBound m_upper;
    double m_delta = 0.1;
    int m_useStandardBehaviour = 1;

    TCString m_url;
    TCString m_anchor;
    TCString m_helpText;
    TCString* m_callerHelpText = nullptr;

    TCPropertyCaptionExtras m_caption;
    TCPropertyChooserExtras m_chooser;
    TCPropertyPortLink m_port;
    TCArray<TCPropertyListHeader> m_headers;

    TCPropertyCallbackSlot<bool> m_isEnabled;
    TCPropertyCallbackSlot<int> m_callback;
    TCPropertyCallbackSlot<TCString> m_dynamicCaption;
    TCPropertyCallbackSlot<int> m_dynamicColor;
    TCPropertyCallbackSlot<int> m_rangeCallback;
    TCPropertyFunction<ButtonFn> m_buttonClicked;
    TCPropertyFunction<PasswordFn> m_passwordVerify;
    CStringArray m_editorButtons;
    TCPropertyFunction<GridFn> m_grid;
    TCPropertyDynamic<DynamicItemFn, TCPropertyDialogInfo> m_dynamicItem;
    TCPropertyDynamic<DynamicDialogFn, TCPropertyDialog> m_dynamicSub;
    TCPropertyDynamic<DynamicDialogFn, TCPropertyDialog> m_dynamicInplace;
    TCPropertyReplacement<ReplaceItemFn, TCPropertyDialogInfo> m_replaceItem;
    TCPropertyReplacement<ReplaceDialogFn, TCPropertyDialog> m_replaceSub;

    TCPropertyDialogInfoImpl* m_parent = nullptr;
    TCPropertyDialogInfo* m_info = nullptr;
    int m_subNumber = -1;
    TCPropertyHostHandles m_host;
};
