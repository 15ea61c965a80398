// The text form of a dialog: one line per item, read from the records.
#include "corekit80/propertydialog/TCPropertyDialogText.h"

#include <charconv>
#include <cstring>

#include "corekit80/foundation/TCFilePath.h"
#include "corekit80/foundation/TCLogFont.h"
#include "corekit80/foundation/TCTranslatedFont.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/platform/TCControlRecords.h"
#include "corekit80/platform/TCResourceHandles.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"

namespace {
using Item = TCPropertyDialogInfoImpl;
using T = TCPropertyDialogInfo;

void AppendQuoted(TCString& out, const char* text, int length)
{
    out += '"';
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7f)
            out.FormatAppend("\\x%02x", c);
        else
            out += char(c);
    }
    out += '"';
}

void AppendQuoted(TCString& out, const TCString& text) { AppendQuoted(out, text, text.GetLength()); }
void AppendQuoted(TCString& out, const CString& text) { AppendQuoted(out, text, text.GetLength()); }

void AppendDouble(TCString& out, double v)
{
    char text[32];
    out.Append(text, int(std::to_chars(text, text + sizeof text, v).ptr - text));
}

void AppendFont(TCString& out, const LOGFONTA& font)
{
    AppendQuoted(out, font.lfFaceName, int(strnlen(font.lfFaceName, LF_FACESIZE)));
    out.FormatAppend(" %d %d", int(font.lfHeight), int(font.lfWeight));
}

template <class V>
const V& As(const void* var) { return *static_cast<const V*>(var); }

// The variable as the item's type reads it; false when the item has none.
bool AppendValue(TCString& out, const Item& item)
{
    const void* var = item.GetVar();
    if (!var)
        return false;
    switch (item.GetType()) {
    case T::TYPE_INT: case T::TYPE_BOOL: case T::TYPE_BUTTON: case T::TYPE_HOST_INT:
    case T::TYPE_SPIN: case T::TYPE_CHECKBOXES:
        out.FormatAppend("%d", As<int>(var));
        return true;
    case T::TYPE_INT_COMBO: case T::TYPE_INT_TCSTRING_COMBO: {
        const int index = As<int>(var);
        out.FormatAppend("%d", index);
        if (index >= 0 && index < item.GetContents().GetSize()) {
            out += " (";
            AppendQuoted(out, item.GetContents()[index]);
            out += ')';
        }
        if (item.GetType() == T::TYPE_INT_TCSTRING_COMBO && item.GetVarEx()) {
            out += ' ';
            AppendQuoted(out, As<TCString>(item.GetVarEx()));
        }
        return true;
    }
    case T::TYPE_COLOR:
        out.FormatAppend("0x%08lx", As<unsigned long>(var));
        return true;
    case T::TYPE_SECONDS:
        out.FormatAppend("%ld", As<long>(var));
        return true;
    case T::TYPE_UINT:
        out.FormatAppend("%u", As<unsigned int>(var));
        return true;
    case T::TYPE_BOOL_COMBO:
        out += As<bool>(var) ? "true" : "false";
        return true;
    case T::TYPE_DBL: case T::TYPE_SPIN_DBL: case T::TYPE_DBL_COMBO:
        AppendDouble(out, As<double>(var));
        return true;
    case T::TYPE_STRING: case T::TYPE_MULTILINE: case T::TYPE_HOST_FILE: case T::TYPE_HOST_FOLDER:
    case T::TYPE_STRING_COMBO: case T::TYPE_HOST_FILE_16: case T::TYPE_HOST_FILE_17:
    case T::TYPE_STRING_ARRAY_COMBO: case T::TYPE_EDITOR:
        AppendQuoted(out, As<CString>(var));
        return true;
    case T::TYPE_PASSWORD:
        out += As<CString>(var).IsEmpty() ? "(empty)" : "(set)";
        return true;
    case T::TYPE_TCSTRING_PASSWORD:
        out += As<TCString>(var).IsEmpty() ? "(empty)" : "(set)";
        return true;
    case T::TYPE_TCSTRING: case T::TYPE_TCSTRING_MULTILINE: case T::TYPE_HOST_TCSTRING_FILE:
    case T::TYPE_HOST_TCSTRING_FOLDER: case T::TYPE_HOST_TCSTRING_42: case T::TYPE_HOST_TCSTRING_43:
    case T::TYPE_TCSTRING_COMBO: case T::TYPE_TCSTRING_ARRAY_COMBO: case T::TYPE_TCSTRING_EDITOR:
        AppendQuoted(out, As<TCString>(var));
        return true;
    case T::TYPE_TRANSLATED_STRING:
        AppendQuoted(out, As<TCTranslatedString>(var).GetSource());
        return true;
    case T::TYPE_FONT:
        AppendFont(out, As<LOGFONTA>(var));
        return true;
    case T::TYPE_TRANSLATED_FONT:
        AppendFont(out, As<TCTranslatedFont>(var).GetSource());
        return true;
    case T::TYPE_CHARFORMAT: {
        const CHARFORMATA& format = As<CHARFORMATA>(var);
        AppendQuoted(out, format.szFaceName, int(strnlen(format.szFaceName, LF_FACESIZE)));
        out.FormatAppend(" %d 0x%x", int(format.yHeight), unsigned(format.dwEffects));
        return true;
    }
    case T::TYPE_OLE_DATETIME:
        AppendDouble(out, As<COleDateTime>(var).m_dt);
        return true;
    case T::TYPE_CTIME:
        out.FormatAppend("%lld", static_cast<long long>(As<CTime>(var).m_time));
        return true;
    case T::TYPE_SYSTEMTIME: {
        const SYSTEMTIME& t = As<SYSTEMTIME>(var);
        out.FormatAppend("%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                         t.wMinute, t.wSecond, t.wMilliseconds);
        return true;
    }
    case T::TYPE_HOTKEY:
        out.FormatAppend("0x%x+0x%x", unsigned(As<TCKeyboardHook_KEY>(var).virtualKey),
                         unsigned(As<TCKeyboardHook_KEY>(var).modifiers));
        return true;
    case T::TYPE_LIST_CTRL:
        out.FormatAppend("%d rows", As<TCArray<CStringArray>>(var).GetSize());
        return true;
    case T::TYPE_FILE: case T::TYPE_FOLDER: case T::TYPE_ICON: case T::TYPE_BITMAP: {
        AppendQuoted(out, As<TCFilePath>(var).GetRelPath());
        // Icons and bitmaps: the resource the handle was loaded from, when there is one.
        const void* handle = item.GetVarEx() ? *static_cast<void* const*>(item.GetVarEx()) : nullptr;
        if (handle && item.GetType() == T::TYPE_ICON)
            out.FormatAppend(" #%u", unsigned(static_cast<const HICON__*>(handle)->resourceId));
        else if (handle && item.GetType() == T::TYPE_BITMAP)
            out.FormatAppend(" #%u", unsigned(static_cast<const HBITMAP__*>(handle)->resourceId));
        return true;
    }
    default:
        return false;
    }
}

void AppendBound(TCString& out, const char* name, const TCPropertyBound& bound)
{
    if (!bound.IsPresent())
        return;
    out.FormatAppend(" %s=%s", name, bound.GetKind() == TCPropertyBound::OWN_DOUBLE ? "" : "@");
    AppendDouble(out, bound.Read());
}

void AppendFlags(TCString& out, const Item& item)
{
    const char* separator = " flags=";
    for (int i = 0; i < Item::FLAG_COUNT; ++i) {
        const auto flag = Item::Flag(i);
        if (flag == Item::FLAG_ENABLED || item.GetFlag(flag) == Item::GetDefaultFlag(flag))
            continue;
        out += separator;
        if (!item.GetFlag(flag))
            out += '-';
        out += Item::GetFlagName(flag);
        separator = ",";
    }
}

void AppendCallbacks(TCString& out, const Item& item)
{
    const struct {
        const char* name;
        bool set;
    } callbacks[] = {
        {"IsEnabled", item.GetIsEnabledSlot().HasCallback() != nullptr},
        {"Callback", item.GetCallbackSlot().HasCallback() != nullptr},
        {"DynamicCaption", item.GetDynamicCaptionSlot().HasCallback() != nullptr},
        {"DynamicColor", item.GetDynamicColorSlot().HasCallback() != nullptr},
        {"RangeCallback", item.GetRangeCallbackSlot().HasCallback() != nullptr},
        {"ButtonClicked", item.GetButtonClicked().fn != nullptr},
        {"PasswordVerify", item.GetPasswordVerify().fn != nullptr},
        {"GridCallback", item.GetGridCallback().fn != nullptr},
        {"DynamicItem", item.GetDynamicItem().fn != nullptr},
        {"DynamicSubproperty", item.GetDynamicSub().fn != nullptr},
        {"DynamicInplaceProperty", item.GetDynamicInplace().fn != nullptr},
        {"ReplaceItem", item.GetReplaceItem().fn != nullptr},
        {"ReplaceSubproperty", item.GetReplaceSub().fn != nullptr},
    };
    const char* separator = " callbacks=";
    for (const auto& callback : callbacks) {
        if (callback.set) {
            out += separator;
            out += callback.name;
            separator = ",";
        }
    }
}

// The index path of the item the walk returned last: the levels it descended through,
// then the item's own index (the top level already points past a plain item).
void AppendPath(TCString& out, const TCPropertyDialogIterator& it)
{
    const int top = it.GetDepth() - 1;
    for (int depth = 0; depth < top; ++depth)
        out.FormatAppend("%d.", it.GetLevel(depth).index);
    const TCPropertyDialogIterator::Level& level = it.GetLevel(top);
    out.FormatAppend("%d", level.flag ? level.index : level.index - 1);
}
} // namespace

TCString TCPropertyDialogText(const TCPropertyDialog& dialog)
{
    TCString out;
    TCPropertyDialogIterator it;
    while (const TCPropertyDialogInfo* info = dialog.GetNextWithSub(it)) {
        const Item& item = *info->GetImpl();
        AppendPath(out, it);
        out.FormatAppend(" %d ", int(item.GetType()));
        AppendQuoted(out, item.GetText());
        const int valueStart = out.GetLength();
        out += " value=";
        if (!AppendValue(out, item))
            out.SetLength(valueStart);
        AppendBound(out, "min", item.Lower());
        AppendBound(out, "max", item.Upper());
        AppendFlags(out, item);
        AppendCallbacks(out, item);
        out.FormatAppend(" enabled=%d\n", item.EvaluateEnabled() ? 1 : 0);
    }
    return out;
}
