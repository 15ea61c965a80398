#pragma once

// TCPropertyListHeader, the description of one column of a list-control item.

#include "corekit80/types/CString.h"
#include "corekit80/types/TCString.h"

// One column of a list-control item: its type and caption, fixed contents, a callback
// that gives the text of a cell (row, column, argument), whether it is shown and
// editable, and its format. The setters return the header so that calls chain.
class TCPropertyListHeader {
public:
    using TextFn = CString (*)(int row, int column, const void* arg);

    TCPropertyListHeader& SetType(int type) { m_type = type; return *this; }
    TCPropertyListHeader& SetCaption(const char* caption) { m_caption = caption; return *this; }
    TCPropertyListHeader& SetContents(const char* contents) { m_contents = contents; return *this; }
    TCPropertyListHeader& SetCallback(TextFn fn, const void* arg)
    {
        m_textFn = fn;
        m_textArg = arg;
        return *this;
    }
    TCPropertyListHeader& SetIsVisible(bool visible) { m_visible = visible; return *this; }
    TCPropertyListHeader& SetIsReadOnly(bool readOnly) { m_readOnly = readOnly; return *this; }
    TCPropertyListHeader& SetFormat(int format) { m_format = format; return *this; }

    int GetType() const { return m_type; }
    const TCString& GetCaption() const { return m_caption; }
    const TCString& GetContents() const { return m_contents; }
    TextFn GetCallback() const { return m_textFn; }
    const void* GetCallbackArg() const { return m_textArg; }
    bool GetIsVisible() const { return m_visible; }
    bool GetIsReadOnly() const { return m_readOnly; }
    int GetFormat() const { return m_format; }

private:
    int m_type = 0;
    TCString m_caption;
    TCString m_contents;
    TextFn m_textFn = nullptr;
    const void* m_textArg = nullptr;
    bool m_visible = true;
    bool m_readOnly = false;
    int m_format = 0;
};
