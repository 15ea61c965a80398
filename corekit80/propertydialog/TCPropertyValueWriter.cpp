// Writing an edited value into the module's variable, by the item's type.
#include "corekit80/propertydialog/TCPropertyValueWriterImpl.h"

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "corekit80/foundation/TCFilePath.h"
#include "corekit80/foundation/TCLogFont.h"
#include "corekit80/foundation/TCTranslatedFont.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/platform/TCControlRecords.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"
#include "corekit80/propertydialog/TCPropertyEditTextImpl.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCArray.h"

namespace {
using T = TCPropertyDialogInfo;
using Item = TCPropertyDialogInfoImpl;

template <class V>
V& Var(const Item& item)
{
    return *static_cast<V*>(item.GetVar());
}

// Keeps the old value for undo, then writes the new one.
template <class V>
void Assign(void* var, const V& value, TCPropertyUndo& undo)
{
    V* target = static_cast<V*>(var);
    undo.push_back([target, old = *target] { *target = old; });
    *target = value;
}

bool Fail(TCString& error, const char* format, ...) TC_PRINTF(2, 3);
bool Fail(TCString& error, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    error.FormatV(format, args);
    va_end(args);
    return false;
}

bool InRange(const Item& item, double value, const char* what, TCString& error)
{
    if (!item.GetNeedsRangeCheck() || (value >= item.GetLowerValue() && value <= item.GetUpperValue()))
        return true;
    return Fail(error, "%s %.15g is outside %.15g .. %.15g", what, value, item.GetLowerValue(),
                item.GetUpperValue());
}

// The index of the entry that is text; -1 when none is.
int EntryIndex(const Item& item, const TCString& text)
{
    const CStringArray& entries = item.GetContents();
    for (int i = 0; i < entries.GetSize(); ++i) {
        if (text == static_cast<const char*>(entries[i]))
            return i;
    }
    return -1;
}

// An entry's text, or else its index.
bool ReadChoice(const Item& item, const TCString& text, int& index, TCString& error)
{
    index = EntryIndex(item, text);
    int64_t number;
    const char* p = text;
    if (index < 0 && TCPropertyReadInteger(p, 0, item.GetContents().GetSize() - 1, number) && !*p)
        index = int(number);
    return index >= 0 || Fail(error, "\"%s\" is none of the %d entries", static_cast<const char*>(text),
                                  item.GetContents().GetSize());
}

bool WriteInteger(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    int64_t min = INT_MIN, max = INT_MAX;
    switch (item.GetType()) {
    case T::TYPE_BOOL: min = 0; max = 1; break;
    case T::TYPE_UINT: min = 0; max = UINT32_MAX; break;
    case T::TYPE_COLOR: min = 0; max = 0xFFFFFF; break;
    case T::TYPE_SECONDS: min = INT64_MIN; max = INT64_MAX; break;
    default: break;
    }
    const char* p = text;
    int64_t value;
    if (!TCPropertyReadInteger(p, min, max, value) || *p)
        return Fail(error, "\"%s\" is no integer in %lld .. %lld", static_cast<const char*>(text), (long long)min,
                    (long long)max);
    if (!InRange(item, double(value), "value", error))
        return false;
    switch (item.GetType()) {
    case T::TYPE_UINT: Assign(item.GetVar(), unsigned(value), undo); break;
    case T::TYPE_COLOR: Assign(item.GetVar(), (unsigned long)value, undo); break;
    case T::TYPE_SECONDS: Assign(item.GetVar(), long(value), undo); break;
    default: Assign(item.GetVar(), int(value), undo); break;
    }
    return true;
}

bool WriteDouble(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    const char* p = text;
    double value;
    if (!TCPropertyReadNumber(p, value) || *p)
        return Fail(error, "\"%s\" is no number", static_cast<const char*>(text));
    if (!InRange(item, value, "value", error))
        return false;
    Assign(item.GetVar(), value, undo);
    return true;
}

// Texts and paths: digits only where asked, the length within the bounds.
bool CheckText(const Item& item, const TCString& text, TCString& error)
{
    if (item.GetFlag(Item::FLAG_DIGITS_ONLY) && std::strspn(text, "0123456789") != size_t(text.GetLength()))
        return Fail(error, "\"%s\" holds more than digits", static_cast<const char*>(text));
    return InRange(item, text.GetLength(), "length", error);
}

bool WriteText(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    if (!CheckText(item, text, error))
        return false;
    if (item.IsStringItem())
        Assign(item.GetVar(), CString(text), undo);
    else if (item.IsTCStringItem())
        Assign(item.GetVar(), text, undo);
    else
        Assign(item.GetVar(), TCTranslatedString(text), undo);
    return true;
}

bool WritePath(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    if (!CheckText(item, text, error))
        return false;
    TCFilePath path = Var<TCFilePath>(item);
    path.SetPath(text);
    Assign(item.GetVar(), path, undo);
    return true;
}

// Combos of texts: an entry, or any text unless read-only.
bool WriteTextChoice(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    if (item.GetFlag(Item::FLAG_READ_ONLY) && EntryIndex(item, text) < 0)
        return Fail(error, "\"%s\" is none of the entries", static_cast<const char*>(text));
    if (item.IsStringComboboxItem())
        Assign(item.GetVar(), CString(text), undo);
    else
        Assign(item.GetVar(), text, undo);
    return true;
}

bool WriteIndexChoice(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    int index;
    const bool freeText = item.GetType() == T::TYPE_INT_TCSTRING_COMBO && !item.GetFlag(Item::FLAG_READ_ONLY);
    if (!ReadChoice(item, text, index, error) && !freeText)
        return false;
    Assign(item.GetVar(), index, undo);
    if (item.GetType() == T::TYPE_INT_TCSTRING_COMBO && item.GetVarEx()) {
        const TCString chosen = index >= 0 ? TCString(item.GetContents()[index]) : text;
        Assign(item.GetVarEx(), chosen, undo);
    }
    return true;
}

bool WriteBoolChoice(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    int index;
    if (text == "false" || text == "true")
        index = text == "true";
    else if (!ReadChoice(item, text, index, error))
        return false;
    Assign(item.GetVar(), index != 0, undo);
    return true;
}

bool WriteNumberChoice(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    double value;
    const char* p = text;
    if (!TCPropertyReadNumber(p, value) || *p)
        return Fail(error, "\"%s\" is no number", static_cast<const char*>(text));
    if (Item::CheckValueForSpecialComboBox(value, item.GetContents(), true) != value)
        return Fail(error, "%.15g is none of the entries", value);
    Assign(item.GetVar(), value, undo);
    return true;
}

// "Face" height weight (fonts) or "Face" height effects (character formats).
bool ReadFont(const TCString& text, char (&face)[LF_FACESIZE], int64_t& height, int64_t& third, int64_t thirdMax,
              TCString& error)
{
    const char* p = text;
    TCString name;
    if (!TCPropertyReadWord(p, name) || name.GetLength() >= LF_FACESIZE ||
        !TCPropertyReadInteger(p, INT32_MIN, INT32_MAX, height) || !TCPropertyReadInteger(p, 0, thirdMax, third) || *p)
        return Fail(error, "\"%s\" is no \"face\" height %s", static_cast<const char*>(text),
                    thirdMax == 1000 ? "weight" : "effects");
    std::memset(face, 0, LF_FACESIZE);
    std::memcpy(face, name, size_t(name.GetLength()));
    return true;
}

bool ReadLogFont(const TCString& text, LOGFONTA& font, TCString& error)
{
    int64_t height, weight;
    if (!ReadFont(text, font.lfFaceName, height, weight, 1000, error))
        return false;
    font.lfHeight = int32_t(height);
    font.lfWeight = int32_t(weight);
    return true;
}

bool WriteFont(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    if (item.GetType() == T::TYPE_FONT) {
        LOGFONTA font = Var<LOGFONTA>(item);
        if (!ReadLogFont(text, font, error))
            return false;
        Assign(item.GetVar(), font, undo);
    } else if (item.GetType() == T::TYPE_TRANSLATED_FONT) {
        // The colour and the other fields stay.
        TCLogFont font = Var<TCTranslatedFont>(item).GetSource();
        if (!ReadLogFont(text, font, error))
            return false;
        Assign(item.GetVar(), TCTranslatedFont(font), undo);
    } else {
        CHARFORMATA format = Var<CHARFORMATA>(item);
        int64_t height, effects;
        if (!ReadFont(text, format.szFaceName, height, effects, UINT32_MAX, error))
            return false;
        format.yHeight = int32_t(height);
        format.dwEffects = uint32_t(effects);
        Assign(item.GetVar(), format, undo);
    }
    return true;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// 0 Sunday .. 6 Saturday.
int DayOfWeek(int year, int month, int day)
{
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    year -= month < 3;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

// YYYY-MM-DD hh:mm:ss with optional .mmm.
bool WriteCalendar(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    unsigned year, month, day, hour, minute, second, ms = 0;
    int used = 0, usedMs = 0;
    const int fields = std::sscanf(text, "%4u-%2u-%2u %2u:%2u:%2u%n.%3u%n", &year, &month, &day, &hour, &minute,
                                   &second, &used, &ms, &usedMs);
    const int end = fields == 7 ? usedMs : used;
    const bool valid = fields >= 6 && end == text.GetLength() && year >= 1601 && month >= 1 && month <= 12 &&
                       day >= 1 && int(day) <= DaysInMonth(int(year), int(month)) && hour < 24 && minute < 60 &&
                       second < 60;
    if (!valid)
        return Fail(error, "\"%s\" is no date and time YYYY-MM-DD hh:mm:ss[.mmm]", static_cast<const char*>(text));
    const SYSTEMTIME time{uint16_t(year), uint16_t(month), uint16_t(DayOfWeek(int(year), int(month), int(day))),
                          uint16_t(day), uint16_t(hour), uint16_t(minute), uint16_t(second), uint16_t(ms)};
    Assign(item.GetVar(), time, undo);
    return true;
}

bool WriteTime(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    const char* p = text;
    if (item.GetType() == T::TYPE_OLE_DATETIME) {
        double days;
        if (!TCPropertyReadNumber(p, days) || *p)
            return Fail(error, "\"%s\" is no number of days", static_cast<const char*>(text));
        Assign(item.GetVar(), COleDateTime{days, 0}, undo);
        return true;
    }
    int64_t seconds;
    if (!TCPropertyReadInteger(p, INT64_MIN, INT64_MAX, seconds) || *p)
        return Fail(error, "\"%s\" is no number of seconds", static_cast<const char*>(text));
    Assign(item.GetVar(), CTime{seconds}, undo);
    return true;
}

// KEY+MODIFIERS, as the text form writes them.
bool WriteHotKey(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    TCString spaced(text);
    spaced.Replace('+', ' ');
    const char* p = spaced;
    int64_t key, modifiers;
    if (!TCPropertyReadInteger(p, 0, UINT32_MAX, key) || !TCPropertyReadInteger(p, 0, UINT32_MAX, modifiers) || *p)
        return Fail(error, "\"%s\" is no KEY+MODIFIERS", static_cast<const char*>(text));
    Assign(item.GetVar(), TCKeyboardHook_KEY{uint32_t(key), uint32_t(modifiers)}, undo);
    return true;
}

// ROW COLUMN TEXT: one cell; a row one past the last adds a row.
bool WriteCell(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    TCArray<CStringArray> rows = Var<TCArray<CStringArray>>(item);
    const int columns = item.GetListHeaders().GetSize() ? item.GetListHeaders().GetSize() : 1024;
    const char* p = text;
    int64_t row, column;
    TCString cell;
    if (!TCPropertyReadInteger(p, 0, rows.GetSize(), row) || !TCPropertyReadInteger(p, 0, columns - 1, column) ||
        !TCPropertyReadWord(p, cell) || *p)
        return Fail(error, "\"%s\" is no ROW COLUMN TEXT within %d rows and %d columns",
                    static_cast<const char*>(text), rows.GetSize() + 1, columns);
    if (row == rows.GetSize() && !InRange(item, double(row + 1), "row count", error))
        return false;
    const auto& asked = item.GetGridCallback();
    if (asked.fn && !asked.fn(int(row), int(column), asked.arg1, asked.arg2))
        return Fail(error, "the module refused the cell %lld %lld", (long long)row, (long long)column);
    if (row == rows.GetSize())
        rows.SetSize(rows.GetSize() + 1);
    if (rows[int(row)].GetSize() <= column)
        rows[int(row)].SetSize(int(column) + 1);
    rows[int(row)][int(column)] = CString(cell);
    Assign(item.GetVar(), rows, undo);
    return true;
}

bool ClickButton(Item& item, TCPropertyUndo& undo)
{
    const auto& clicked = item.GetButtonClicked();
    const int answer = clicked.fn ? clicked.fn(clicked.arg1, clicked.arg2) : 0;
    if (clicked.fn && item.GetType() == T::TYPE_BUTTON && item.GetVar())
        Assign(item.GetVar(), answer, undo);
    return true;
}
} // namespace

bool TCPropertyWriteValue(Item& item, const TCString& text, TCPropertyUndo& undo, TCString& error)
{
    const T::Types type = item.GetType();
    if (item.IsButtonItem())
        return ClickButton(item, undo);
    if (item.IsSubdialogItem() || type == T::TYPE_SEPARATOR || type <= T::TYPE_NONE || type >= T::TYPE_COUNT)
        return Fail(error, "items of type %d hold no value", int(type));
    if (!item.GetVar())
        return Fail(error, "the item has no variable");
    if (item.IsIntComboboxItem())
        return WriteIndexChoice(item, text, undo, error);
    if (item.IsStringComboboxItem() || item.IsTCStringComboboxItem())
        return WriteTextChoice(item, text, undo, error);
    if (item.IsBoolItem())
        return WriteBoolChoice(item, text, undo, error);
    if (item.IsDblComboboxItem())
        return WriteNumberChoice(item, text, undo, error);
    if (item.IsIntItem())
        return WriteInteger(item, text, undo, error);
    if (item.IsDblItem())
        return WriteDouble(item, text, undo, error);
    if (item.IsFilePathItem())
        return WritePath(item, text, undo, error);
    if (item.IsStringItem() || item.IsTCStringItem() || item.IsTCTranslatedStringItem())
        return WriteText(item, text, undo, error);
    switch (type) {
    case T::TYPE_FONT: case T::TYPE_CHARFORMAT: case T::TYPE_TRANSLATED_FONT:
        return WriteFont(item, text, undo, error);
    case T::TYPE_SYSTEMTIME:
        return WriteCalendar(item, text, undo, error);
    case T::TYPE_OLE_DATETIME: case T::TYPE_CTIME:
        return WriteTime(item, text, undo, error);
    case T::TYPE_HOTKEY:
        return WriteHotKey(item, text, undo, error);
    case T::TYPE_LIST_CTRL:
        return WriteCell(item, text, undo, error);
    default:
        return Fail(error, "items of type %d cannot be edited here", int(type));
    }
}
