// The builders of items that edit one value.
#include "corekit80/propertydialog/TCPropertyBuilders.h"

#include <algorithm>

#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

namespace {
using T = TCPropertyDialogInfo;
using Item = TCPropertyDialogInfoImpl;

// The most lines a multi-line text shows.
constexpr int kMostLines = 19;

T& Make(TCPropertyDialog& dialog, T::Types type, void* var, const char* caption)
{
    return T::Create(dialog, type, var, caption);
}

T& WithNewCaption(T& item, bool newCaption)
{
    if (item.IsValid())
        item.GetImpl()->SetFlag(Item::FLAG_NEW_CAPTION, newCaption);
    return item;
}

T& WithLines(T& item, int lines)
{
    if (item.IsValid())
        item.GetImpl()->SetSize(std::clamp(lines == -1 ? kMostLines : lines, 1, kMostLines));
    return item;
}

T& WithDelta(T& item, double step)
{
    if (item.IsValid())
        item.GetImpl()->SetDelta(step);
    return item;
}

T& WithAdditionalText(T& item, const char* text)
{
    if (item.IsValid())
        item.GetImpl()->SetAdditionalText(text);
    return item;
}

T& WithVarEx(T& item, void* var)
{
    if (item.IsValid())
        item.GetImpl()->SetVarEx(var);
    return item;
}
} // namespace

T& TCPropertyInt(TCPropertyDialog& dialog, int& value, const char* caption)
{
    return Make(dialog, T::TYPE_INT, &value, caption);
}

T& TCPropertyInt(TCPropertyDialog& dialog, unsigned int& value, const char* caption)
{
    return Make(dialog, T::TYPE_UINT, &value, caption);
}

T& TCPropertyDbl(TCPropertyDialog& dialog, double& value, const char* caption)
{
    return Make(dialog, T::TYPE_DBL, &value, caption);
}

T& TCPropertyBool(TCPropertyDialog& dialog, int& value, const char* caption)
{
    return Make(dialog, T::TYPE_BOOL, &value, caption);
}

T& TCPropertyColor(TCPropertyDialog& dialog, unsigned long& colour, const char* caption)
{
    return Make(dialog, T::TYPE_COLOR, &colour, caption);
}

T& TCPropertySpin(TCPropertyDialog& dialog, int& value, const char* caption, const int& step)
{
    return WithDelta(Make(dialog, T::TYPE_SPIN, &value, caption), step);
}

T& TCPropertySpinDbl(TCPropertyDialog& dialog, double& value, const char* caption, const double& step)
{
    return WithDelta(Make(dialog, T::TYPE_SPIN_DBL, &value, caption), step);
}

T& TCPropertyFont(TCPropertyDialog& dialog, LOGFONTA& font, const char* caption)
{
    return Make(dialog, T::TYPE_FONT, &font, caption);
}

T& TCPropertyFont(TCPropertyDialog& dialog, CHARFORMATA& format, const char* caption)
{
    return Make(dialog, T::TYPE_CHARFORMAT, &format, caption);
}

T& TCPropertyFont(TCPropertyDialog& dialog, TCTranslatedFont& font, const char* caption)
{
    return Make(dialog, T::TYPE_TRANSLATED_FONT, &font, caption);
}

T& TCPropertyDateTime(TCPropertyDialog& dialog, COleDateTime& value, const char* caption)
{
    return Make(dialog, T::TYPE_OLE_DATETIME, &value, caption);
}

T& TCPropertyDateTime(TCPropertyDialog& dialog, CTime& value, const char* caption)
{
    return Make(dialog, T::TYPE_CTIME, &value, caption);
}

T& TCPropertyDateTime(TCPropertyDialog& dialog, SYSTEMTIME& value, const char* caption)
{
    return Make(dialog, T::TYPE_SYSTEMTIME, &value, caption);
}

T& TCPropertyDateTime(TCPropertyDialog& dialog, long& seconds, const char* caption)
{
    return Make(dialog, T::TYPE_SECONDS, &seconds, caption);
}

T& TCPropertyHotKey(TCPropertyDialog& dialog, TCKeyboardHook_KEY& key, const char* caption)
{
    return Make(dialog, T::TYPE_HOTKEY, &key, caption);
}

T& TCPropertyString(TCPropertyDialog& dialog, CString& text, const char* caption, const bool& newCaption)
{
    return WithNewCaption(Make(dialog, T::TYPE_STRING, &text, caption), newCaption);
}

T& TCPropertyString(TCPropertyDialog& dialog, TCString& text, const char* caption, const bool& newCaption)
{
    return WithNewCaption(Make(dialog, T::TYPE_TCSTRING, &text, caption), newCaption);
}

T& TCPropertyString(TCPropertyDialog& dialog, TCTranslatedString& text, const char* caption,
                    const bool& newCaption)
{
    return WithNewCaption(Make(dialog, T::TYPE_TRANSLATED_STRING, &text, caption), newCaption);
}

T& TCPropertyMultiline(TCPropertyDialog& dialog, CString& text, const char* caption, const int& lines)
{
    return WithLines(Make(dialog, T::TYPE_MULTILINE, &text, caption), lines);
}

T& TCPropertyMultiline(TCPropertyDialog& dialog, TCString& text, const char* caption, const int& lines)
{
    return WithLines(Make(dialog, T::TYPE_TCSTRING_MULTILINE, &text, caption), lines);
}

T& TCPropertyEditor(TCPropertyDialog& dialog, CString& text, const char* caption, const bool& newCaption)
{
    return WithNewCaption(Make(dialog, T::TYPE_EDITOR, &text, caption), newCaption);
}

T& TCPropertyEditor(TCPropertyDialog& dialog, TCString& text, const char* caption, const bool& newCaption)
{
    return WithNewCaption(Make(dialog, T::TYPE_TCSTRING_EDITOR, &text, caption), newCaption);
}

T& TCPropertyPassword(TCPropertyDialog& dialog, CString& password, const char* caption)
{
    return Make(dialog, T::TYPE_PASSWORD, &password, caption);
}

T& TCPropertyPassword(TCPropertyDialog& dialog, TCString& password, const char* caption)
{
    return Make(dialog, T::TYPE_TCSTRING_PASSWORD, &password, caption);
}

T& TCPropertyFile(TCPropertyDialog& dialog, TCFilePath& path, const char* caption)
{
    return Make(dialog, T::TYPE_FILE, &path, caption);
}

T& TCPropertyFolder(TCPropertyDialog& dialog, TCFilePath& path, const char* caption)
{
    return Make(dialog, T::TYPE_FOLDER, &path, caption);
}

T& TCPropertyIcon(TCPropertyDialog& dialog, TCFilePath& path, HICON& icon, const char* caption)
{
    return WithVarEx(Make(dialog, T::TYPE_ICON, &path, caption), &icon);
}

T& TCPropertyBitmap(TCPropertyDialog& dialog, TCFilePath& path, HBITMAP& bitmap, const char* caption)
{
    return WithVarEx(Make(dialog, T::TYPE_BITMAP, &path, caption), &bitmap);
}

T& TCPropertyButton(TCPropertyDialog& dialog, int& value, const char* caption, const char* buttonText)
{
    return WithAdditionalText(Make(dialog, T::TYPE_BUTTON, &value, caption), buttonText);
}

T& TCPropertyButton(TCPropertyDialog& dialog, const char* caption, const char* buttonText)
{
    return WithAdditionalText(Make(dialog, T::TYPE_BUTTON_NO_VAR, nullptr, caption), buttonText);
}

T& TCPropertyListCtrl(TCPropertyDialog& dialog, TCArray<CStringArray>& rows, const char* caption,
                      TCArray<TCPropertyListHeader>& headers, const bool& newCaption)
{
    T& item = WithNewCaption(Make(dialog, T::TYPE_LIST_CTRL, &rows, caption), newCaption);
    if (item.IsValid())
        item.GetImpl()->GetListHeaders() = headers;
    return item;
}

T& TCPropertySeparator(TCPropertyDialog& dialog)
{
    return Make(dialog, T::TYPE_SEPARATOR, nullptr, "");
}
