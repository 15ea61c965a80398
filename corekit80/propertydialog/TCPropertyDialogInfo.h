#pragma once

// TCPropertyDialogInfo, the handle of one item of a property dialog, and the item types.

#include <cstdint>

#include "corekit80/types/TCExport.h"

class TCPropertyDialog;
class TCPropertyDialogInfoImpl;

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

private:
    explicit TCPropertyDialogInfo(TCPropertyDialogInfoImpl* impl) : m_pImpl(impl) {}

    TCPropertyDialogInfoImpl* m_pImpl;
};
