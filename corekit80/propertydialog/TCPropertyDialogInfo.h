#pragma once

// TCPropertyDialogInfo, the handle of one item of a property dialog, and the item types.

#include <cstdint>

#include "corekit80/modules/TCModuleTypes.h"
#include "corekit80/propertydialog/TCPropertyCallbackSlot.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class CStringArray;
class TCPropertyDialog;
class TCPropertyDialogInfoImpl;

// The groups of item types that hosts ask about (TCPropertyDialogInfo::IsIntItem and its
// kin, and the same predicates of the item record).
enum TCPropertyItemKind : int {
    TCPD_KIND_INT,             // 3 8 11 18 20 21 35 39 48
    TCPD_KIND_NUMBER,          // 3 21 48
    TCPD_KIND_DBL,             // 4 26 50
    TCPD_KIND_STRING,          // 5 6 7 12 13 16 17 28: CString
    TCPD_KIND_TCSTRING,        // 24 38 40 41 42 43 44 47
    TCPD_KIND_TRANSLATED,      // 36
    TCPD_KIND_FILEPATH,        // 33 34 51 52
    TCPD_KIND_FILECHOOSER,     // 12 16 17 33 40 42 43 51 52
    TCPD_KIND_COMBOBOX,        // 14 15 23 25 45 46 49 50
    TCPD_KIND_INT_COMBOBOX,    // 14 25
    TCPD_KIND_DBL_COMBOBOX,    // 50
    TCPD_KIND_STRING_COMBOBOX, // 15 23
    TCPD_KIND_TCSTRING_COMBOBOX, // 45 46
    TCPD_KIND_BOOL,            // 49
    TCPD_KIND_BUTTON,          // 18 19
    TCPD_KIND_SPINNER,         // 21 26
    TCPD_KIND_SUBDIALOG,       // 1 2
    TCPD_KIND_EDITOR,          // 28 47
    TCPD_KIND_SPECIAL_GRID,    // 27 28 47
    TCPD_KIND_OWN_GRID,        // 1 27 28 47
    TCPD_KIND_COUNT
};

// The handle a module holds for one item of a property dialog. It owns the item's record
// (TCPropertyDialogInfoImpl), which the host reads; a handle without a record is empty
// and every operation on it does nothing. Handles are made by the library only.
class TC_EXPORT TCPropertyDialogInfo {
public:
    // The kind of an item: which control the host draws and how it reads and writes the
    // variable (named after the variable's type where one kind has several variables).
    // The HOST_ kinds are recognised by the library but made only by hosts.
    // long and unsigned long variables (colours, seconds) are 64 bits wide here; a
    // colour holds 0x00BBGGRR in its low 32 bits.
    enum Types : int32_t {
        TYPE_NONE = 0,
        TYPE_SUBDIALOG = 1,            // the variable is the sub-dialog's handle
        TYPE_INPLACE = 2,              // the same for a sub-dialog drawn in place
        TYPE_INT = 3,                  // int
        TYPE_DBL = 4,                  // double
        TYPE_STRING = 5,               // CString
        TYPE_MULTILINE = 6,            // CString
        TYPE_PASSWORD = 7,             // CString
        TYPE_BOOL = 8,                 // int, 0 or 1
        TYPE_FONT = 9,                 // LOGFONTA or TCLogFont
        TYPE_CHARFORMAT = 10,          // CHARFORMATA
        TYPE_COLOR = 11,               // unsigned long
        TYPE_HOST_FILE = 12,           // CString
        TYPE_HOST_FOLDER = 13,         // CString
        TYPE_INT_COMBO = 14,           // int, the index of the chosen entry
        TYPE_STRING_COMBO = 15,        // CString, entries from one text
        TYPE_HOST_FILE_16 = 16,        // CString
        TYPE_HOST_FILE_17 = 17,        // CString
        TYPE_BUTTON = 18,              // int
        TYPE_BUTTON_NO_VAR = 19,       // none
        TYPE_HOST_INT = 20,            // int
        TYPE_SPIN = 21,                // int
        TYPE_SEPARATOR = 22,           // none
        TYPE_STRING_ARRAY_COMBO = 23,  // CString, entries from a string array
        TYPE_TCSTRING = 24,            // TCString
        TYPE_INT_TCSTRING_COMBO = 25,  // int, with a TCString as second variable
        TYPE_SPIN_DBL = 26,            // double
        TYPE_LIST_CTRL = 27,           // TCArray<CStringArray>, the rows
        TYPE_EDITOR = 28,              // CString
        TYPE_TRANSLATED_FONT = 29,     // TCTranslatedFont
        TYPE_OLE_DATETIME = 30,        // COleDateTime
        TYPE_CTIME = 31,               // CTime
        TYPE_SYSTEMTIME = 32,          // SYSTEMTIME
        TYPE_FILE = 33,                // TCFilePath
        TYPE_FOLDER = 34,              // TCFilePath
        TYPE_SECONDS = 35,             // long, seconds
        TYPE_TRANSLATED_STRING = 36,   // TCTranslatedString
        TYPE_HOTKEY = 37,              // TCKeyboardHook_KEY
        TYPE_TCSTRING_MULTILINE = 38,  // TCString
        TYPE_CHECKBOXES = 39,          // int, one bit per box
        TYPE_HOST_TCSTRING_FILE = 40,  // TCString
        TYPE_HOST_TCSTRING_FOLDER = 41,// TCString
        TYPE_HOST_TCSTRING_42 = 42,    // TCString
        TYPE_HOST_TCSTRING_43 = 43,    // TCString
        TYPE_TCSTRING_PASSWORD = 44,   // TCString
        TYPE_TCSTRING_COMBO = 45,      // TCString, entries from one text
        TYPE_TCSTRING_ARRAY_COMBO = 46,// TCString, entries from a string array
        TYPE_TCSTRING_EDITOR = 47,     // TCString
        TYPE_UINT = 48,                // unsigned int
        TYPE_BOOL_COMBO = 49,          // bool
        TYPE_DBL_COMBO = 50,           // double
        TYPE_ICON = 51,                // TCFilePath, with an HICON as second variable
        TYPE_BITMAP = 52,              // TCFilePath, with an HBITMAP as second variable
        TYPE_COUNT = 53
    };

    // Functions of the callbacks that are not plain slots.
    using ButtonFn = int (*)(const void* arg1, const void* arg2);
    using PasswordFn = bool (*)(const void* arg1, const void* arg2);
    // Editor buttons get (button, caret line, ...); a list control (row, column, ...).
    using GridFn = bool (*)(int a, int b, const void* arg1, const void* arg2);
    using DynamicItemFn = TCPropertyDialogInfo& (*)(int index, const void* arg1, const void* arg2);
    using DynamicDialogFn = TCPropertyDialog& (*)(int index, const void* arg1, const void* arg2);
    using ReplaceItemFn = TCPropertyDialogInfo& (*)(const void* arg1, const void* arg2);
    using ReplaceDialogFn = TCPropertyDialog& (*)(const void* arg1, const void* arg2);

    TCPropertyDialogInfo(const TCPropertyDialogInfo&) = delete;
    TCPropertyDialogInfo& operator=(const TCPropertyDialogInfo&) = delete;
    virtual ~TCPropertyDialogInfo();

    // A new item of type with its record, the variable var and the caption, added to
    // dialog (TCPropertyDialog::Add); unlinked, and then the caller's, when dialog has no
    // record. The empty handle GetDummy when memory runs out.
    static TCPropertyDialogInfo& Create(TCPropertyDialog& dialog, Types type, void* var,
                                        const char* caption);
    // The process-wide empty handle.
    static TCPropertyDialogInfo& GetDummy();

    // The record; null for an empty handle.
    TCPropertyDialogInfoImpl* GetImpl() const { return m_pImpl; }
    bool IsValid() const { return m_pImpl != nullptr; }

    // Whether type belongs to the group kind; whether info is an item of it (false for a
    // null pointer or an empty handle).
    static bool IsKind(Types type, TCPropertyItemKind kind);
    static bool IsKind(const TCPropertyDialogInfo* info, TCPropertyItemKind kind);
    static bool IsIntItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_INT); }
    static bool IsDblItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_DBL); }
    static bool IsStringItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_STRING); }
    static bool IsTCStringItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_TCSTRING); }
    static bool IsTCTranslatedStringItem(const TCPropertyDialogInfo* info)
    {
        return IsKind(info, TCPD_KIND_TRANSLATED);
    }
    static bool IsFilePathItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_FILEPATH); }
    static bool IsComboboxItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_COMBOBOX); }
    static bool IsIntComboboxItem(const TCPropertyDialogInfo* info)
    {
        return IsKind(info, TCPD_KIND_INT_COMBOBOX);
    }
    static bool IsStringComboboxItem(const TCPropertyDialogInfo* info)
    {
        return IsKind(info, TCPD_KIND_STRING_COMBOBOX);
    }
    static bool IsSubdialogItem(const TCPropertyDialogInfo* info) { return IsKind(info, TCPD_KIND_SUBDIALOG); }

    // Modifiers. Each returns the item; on an empty handle, or on an item whose type the
    // modifier does not serve (see the codes named), it does nothing.

    // Help texts, trimmed; the TCString* form remembers the caller's string, whose current
    // text the host then shows.
    TCPropertyDialogInfo& URL(const char* url);
    TCPropertyDialogInfo& Anchor(const char* anchor);
    TCPropertyDialogInfo& UserHelpText(const char* text);
    TCPropertyDialogInfo& UserHelpText(TCString* text);

    // The range: a number, or the caller's variable read whenever the bound is needed (a
    // null pointer stores 0). Each sets the range check and normalises the range (see
    // TCPropertyDialogInfoImpl::NormalizeRange). On an unsigned item (48) a negative int
    // stands for the unsigned value of its bits. On a combo box item the bound is cleared
    // and the range check dropped instead: its entries are its range. Min(nullptr) is
    // ambiguous: pass a typed null.
    TCPropertyDialogInfo& Min(double value);
    TCPropertyDialogInfo& Min(int value);
    TCPropertyDialogInfo& Min(const int* variable);
    TCPropertyDialogInfo& Min(const double* variable);
    TCPropertyDialogInfo& Max(double value);
    TCPropertyDialogInfo& Max(int value);
    TCPropertyDialogInfo& Max(const int* variable);
    TCPropertyDialogInfo& Max(const double* variable);

    // What choosers open with. Filter: 12 16 17 30 31 32 33 35 40 42 43 51 52 (a file
    // filter or a date-time format; the void* form data of the host's). Flags: 9 10 11 12
    // 13 16 17 27 29 33 34 40 41 42 43 51 52. Default path: 12 13 16 17 40 41 42 43.
    // Default extension: 12 16 17 33 40 42 43 51 52. Caption (the additional text beside
    // the control): 3 4 5 6 12 13 16 17 24 33 34 38 40 41 42 43 48 51 52. Open (1) or save
    // (0): 12 33 40. Custom colours, 16 of the caller's: 11.
    TCPropertyDialogInfo& SetAdditionalFilter(const char* filter);
    TCPropertyDialogInfo& SetAdditionalFilter(const void* data);
    TCPropertyDialogInfo& SetAdditionalFlags(unsigned int flags);
    TCPropertyDialogInfo& SetAdditionalDefaultPath(const char* path);
    TCPropertyDialogInfo& SetAdditionalDefaultExtension(const char* extension);
    TCPropertyDialogInfo& SetAdditionalCaption(const char* text);
    TCPropertyDialogInfo& SetAdditionalOpenSave(int open);
    TCPropertyDialogInfo& SetAdditionalCustomColors(unsigned long* colours);

    // Callbacks of 0 to 4 untyped constant pointers, any item.
    template <class... A>
    TCPropertyDialogInfo& IsEnabled(bool (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        return SetSlot(IsEnabledSlot(), fn, args...);
    }
    template <class... A>
    TCPropertyDialogInfo& Callback(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        return SetSlot(CallbackSlot(), fn, args...);
    }
    template <class... A>
    TCPropertyDialogInfo& RangeCallback(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        return SetSlot(RangeCallbackSlot(), fn, args...);
    }
    template <class... A>
    TCPropertyDialogInfo& DynamicCaption(TCString (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        return SetSlot(DynamicCaptionSlot(), fn, args...);
    }
    template <class... A>
    TCPropertyDialogInfo& DynamicColor(int (*fn)(A...), typename TCPropertyCallbackArg<A>::type... args)
    {
        return SetSlot(DynamicColorSlot(), fn, args...);
    }
    // Functions with two arguments, any item. A non-empty text of ButtonClicked becomes
    // the additional text (the button's caption).
    TCPropertyDialogInfo& PasswordVerify(PasswordFn fn, const void* arg1, const void* arg2);
    TCPropertyDialogInfo& ButtonClicked(ButtonFn fn, const void* arg1, const void* arg2,
                                        const char* text = nullptr);
    // fn makes one item or dialog per index below *count (see TCPropertyDynamic).
    TCPropertyDialogInfo& AddDynamicItem(DynamicItemFn fn, const int* count, const void* arg1, const void* arg2);
    TCPropertyDialogInfo& AddDynamicSubproperty(DynamicDialogFn fn, const int* count, const void* arg1,
                                                const void* arg2);
    TCPropertyDialogInfo& AddDynamicInplaceProperty(DynamicDialogFn fn, const int* count, const void* arg1,
                                                    const void* arg2);
    TCPropertyDialogInfo& ReplaceItem(ReplaceItemFn fn, const void* arg1, const void* arg2);
    TCPropertyDialogInfo& ReplaceSubproperty(ReplaceDialogFn fn, const void* arg1, const void* arg2);
    // Buttons below an editor (28 47), and the function their clicks go to.
    TCPropertyDialogInfo& AddEditorButtons(const CStringArray& captions, GridFn fn, const void* arg1,
                                           const void* arg2);
    // The function a list control (27) asks about every edited cell.
    TCPropertyDialogInfo& AddListCtrlCallback(GridFn fn, const void* arg1, const void* arg2);

    // Int combos (14 25): one text per entry, shown after the caption and divider; sets
    // the new-caption flag.
    TCPropertyDialogInfo& AddToCaption(const char* divider, const char* texts);
    // Input masks of text items (5 24).
    TCPropertyDialogInfo& SetMask(const char* mask, const char* literal, const char& prompt = '_');
    TCPropertyDialogInfo& DigitsOnly();
    // The port the value can also come from: 5 15 23 24 36 45 46.
    TCPropertyDialogInfo& IsPort(const PORTTYPE& type, const char* message);
    // 3 4 5 6 24 36 37 38 48.
    TCPropertyDialogInfo& IsReadOnly();
    // 1 27 28 47.
    TCPropertyDialogInfo& ShowStatusField();
    // Flags of any item.
    TCPropertyDialogInfo& Delete();
    TCPropertyDialogInfo& DynamicChanges();
    TCPropertyDialogInfo& NeedsEditRight();
    TCPropertyDialogInfo& AlwaysVisible();
    TCPropertyDialogInfo& IsInitialCallback();
    TCPropertyDialogInfo& IsHidden();

private:
    explicit TCPropertyDialogInfo(TCPropertyDialogInfoImpl* impl) : m_pImpl(impl) {}

    // The record's slots; null for an empty handle.
    TCPropertyCallbackSlot<bool>* IsEnabledSlot();
    TCPropertyCallbackSlot<int>* CallbackSlot();
    TCPropertyCallbackSlot<int>* RangeCallbackSlot();
    TCPropertyCallbackSlot<TCString>* DynamicCaptionSlot();
    TCPropertyCallbackSlot<int>* DynamicColorSlot();
    template <class R, class... A>
    TCPropertyDialogInfo& SetSlot(TCPropertyCallbackSlot<R>* slot, R (*fn)(A...),
                                  typename TCPropertyCallbackArg<A>::type... args)
    {
        if (slot)
            slot->Set(fn, args...);
        return *this;
    }

    TCPropertyDialogInfoImpl* m_pImpl;
};
