#pragma once

// TCPropertyDialogHost, a host window that shows property dialogs without a window system.

#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCPropertyDialog;

// Answers the request to show a property dialog (message 36001, TCShowPropertyDialog) as
// a user would who makes the given edits and presses OK, for hosts without a window
// system, scripted runs and tests. Install it with TCSetHostWindow; every other message
// goes on to the window given as next (or is answered 0).
//
// An edit is one line "PATH = VALUE":
// - PATH: the captions from the top-level dialog down to the item, joined by "/", e.g.
//   "General properties/Gain". Every sub-dialog, drawn in place or not, is one step. Each
//   caption is matched exactly, after trimming blanks, against the items' captions (not
//   the dynamic ones); the first match counts. "\/", "\=" and "\\" write "/", "=" and
//   "\" inside a caption.
// - VALUE: the rest, trimmed; one text in double quotes stands for that text, with the
//   escapes of the text form (\" \\ \n \r \t \xHH). By the item's type:
//     3 8 11 20 21 35 39 48   an integer, decimal or 0x hexadecimal (8: 0 or 1)
//     4 26                    a number such as -1.5e3
//     5 6 7 12 13 16 17 24 28 36 38 40-44 47   the text
//     33 34 51 52             the path
//     14 25                   an entry's text or its index (25 unless read-only: any
//                             text, index -1)
//     15 23 45 46             an entry's text, or any text unless read-only
//     49                      an entry's text, its index, false or true
//     50                      a number that an entry stands for
//     9 29 / 10               "Face" HEIGHT WEIGHT / "Face" HEIGHT EFFECTS
//     30 / 31                 days since 1899-12-30 / seconds since 1970
//     32                      YYYY-MM-DD hh:mm:ss[.mmm]
//     37                      KEY+MODIFIERS
//     27                      ROW COLUMN TEXT: one cell; ROW may be one past the last
//     18 19                   anything: the button is clicked
//   Numbers must fit the variable and, when the item checks its range, its bounds; texts
//   and paths must keep their length within the bounds, and be digits where asked.
//
// Showing a dialog goes through these steps:
// 1. The Callback of every item that asks for an initial call (every item, when the
//    dialog does), in the order of GetNextWithSub.
// 2. Each edit in order: the item is looked up among the shown items (no hidden or
//    deleted item, none that is disabled or lies in a disabled sub-dialog, none that is
//    read-only); its RangeCallback is called; the value is checked and written; an item
//    with PasswordVerify is verified; its Callback is called.
// 3. After the last edit the dialog's OKCallback is called and the answer is 1 (OK).
// The first edit that fails cancels: every variable written is put back, newest first,
// the dialog's CancelCallback is called and the answer is 2, as it is for a message
// without a valid top-level dialog. Error, information and status texts that the
// callbacks set are collected and cleared after each step.
class TC_EXPORT TCPropertyDialogHost : public TCHostWindow {
public:
    explicit TCPropertyDialogHost(TCHostWindow* next = nullptr) : m_next(next) {}

    // The edits made whenever a dialog is shown, in order.
    void AddEdit(const char* edit) { m_edits.Add(edit); }
    void ClearEdits() { m_edits.RemoveAll(); }
    const CStringArray& GetEdits() const { return m_edits; }

    long Send(unsigned message, unsigned long wParam, long lParam) override;
    CWnd* GetMainWnd() const override { return m_next ? m_next->GetMainWnd() : nullptr; }

    // Of the last dialog shown: its text form (TCPropertyDialogText) after the edits or,
    // when cancelled, after they were undone; why it was cancelled ("" after OK); the
    // texts the module set, one line each ("error: CAPTION: MESSAGE", "info: ...",
    // "status: ..."); how many dialogs were shown.
    const TCString& GetText() const { return m_text; }
    const TCString& GetError() const { return m_error; }
    const TCString& GetMessages() const { return m_messages; }
    int GetShowCount() const { return m_shown; }

private:
    int Show(TCPropertyDialog* dialog);

    TCHostWindow* m_next;
    CStringArray m_edits;
    TCString m_text;
    TCString m_error;
    TCString m_messages;
    int m_shown = 0;
};
