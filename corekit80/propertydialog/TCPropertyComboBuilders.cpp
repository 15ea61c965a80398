// The builders of items that choose among entries.
#include "corekit80/propertydialog/TCPropertyComboBuilders.h"

#include <initializer_list>

#include "corekit80/archive/ConvertStringToArray.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"
#include "corekit80/propertydialog/TCPropertyDialogStrings.h"

namespace {
using T = TCPropertyDialogInfo;
using Item = TCPropertyDialogInfoImpl;

// The entries of a choice, in one of the three forms the builders take.
struct Entries {
    const char* text = nullptr;
    const CStringArray* copied = nullptr;
    CStringArray* callers = nullptr;
    bool useCallers = false;

    Entries(const char* t) : text(t) {}
    Entries(const CStringArray& a) : copied(&a) {}
    Entries(CStringArray* a) : callers(a), useCallers(true) {}

    void Into(Item& item) const
    {
        if (useCallers)
            item.SetCallerContents(callers);
        else if (copied)
            item.GetOwnContents().Copy(*copied);
        else
            ConvertStringToStrArray(text, item.GetOwnContents(), "\n", false);
        item.SetSize(item.GetContents().GetSize());
    }
};

T& Choice(TCPropertyDialog& dialog, T::Types type, void* var, const char* caption, const Entries& entries,
          bool readOnly, int behaviour)
{
    T& item = T::Create(dialog, type, var, caption);
    if (Item* record = item.GetImpl()) {
        entries.Into(*record);
        record->SetFlag(Item::FLAG_READ_ONLY, readOnly);
        record->SetUseStandardBehaviour(behaviour);
    }
    return item;
}

// A fixed choice among built-in texts, read-only.
T& BuiltInChoice(TCPropertyDialog& dialog, T::Types type, void* var, const char* caption,
                 std::initializer_list<int> texts)
{
    CStringArray entries;
    for (int text : texts)
        entries.Add(TCPropertyDialogString(text));
    return Choice(dialog, type, var, caption, static_cast<const CStringArray&>(entries), true, 1);
}
} // namespace

T& TCPropertyCombo(TCPropertyDialog& dialog, CString& text, const char* caption, const char* entries,
                   const bool& readOnly)
{
    return Choice(dialog, T::TYPE_STRING_COMBO, &text, caption, entries, readOnly, 1);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, CString& text, const char* caption, const CStringArray& entries,
                   const bool& readOnly)
{
    return Choice(dialog, T::TYPE_STRING_ARRAY_COMBO, &text, caption, entries, readOnly, 1);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, CString& text, const char* caption, CStringArray* entries,
                   const bool& readOnly)
{
    return Choice(dialog, T::TYPE_STRING_ARRAY_COMBO, &text, caption, entries, readOnly, 1);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, TCString& text, const char* caption, const char* entries,
                   const bool& readOnly)
{
    return Choice(dialog, T::TYPE_TCSTRING_COMBO, &text, caption, entries, readOnly, 1);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, TCString& text, const char* caption, const CStringArray& entries,
                   const bool& readOnly)
{
    return Choice(dialog, T::TYPE_TCSTRING_ARRAY_COMBO, &text, caption, entries, readOnly, 1);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, TCString& text, const char* caption, CStringArray* entries,
                   const bool& readOnly)
{
    return Choice(dialog, T::TYPE_TCSTRING_ARRAY_COMBO, &text, caption, entries, readOnly, 1);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, int& index, const char* caption, const char* entries,
                   const int& behaviour)
{
    return Choice(dialog, T::TYPE_INT_COMBO, &index, caption, entries, true, behaviour);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, int& index, const char* caption, const CStringArray& entries,
                   const int& behaviour)
{
    return Choice(dialog, T::TYPE_INT_COMBO, &index, caption, entries, true, behaviour);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, int& index, const char* caption, CStringArray* entries,
                   const int& behaviour)
{
    return Choice(dialog, T::TYPE_INT_COMBO, &index, caption, entries, true, behaviour);
}

T& TCPropertyCombo(TCPropertyDialog& dialog, int& index, TCString& text, const char* caption,
                   CStringArray* entries, const bool& readOnly)
{
    T& item = Choice(dialog, T::TYPE_INT_TCSTRING_COMBO, &index, caption, entries, readOnly, 1);
    if (item.IsValid())
        item.GetImpl()->SetVarEx(&text);
    return item;
}

T& TCPropertyCombo(TCPropertyDialog& dialog, double& value, const char* caption, const char* entries)
{
    return Choice(dialog, T::TYPE_DBL_COMBO, &value, caption, entries, true, 3);
}

T& TCPropertyYesNo(TCPropertyDialog& dialog, int& value, const char* caption)
{
    return BuiltInChoice(dialog, T::TYPE_INT_COMBO, &value, caption, {TCPD_STR_NO, TCPD_STR_YES});
}

T& TCPropertyYesNo(TCPropertyDialog& dialog, bool& value, const char* caption)
{
    return BuiltInChoice(dialog, T::TYPE_BOOL_COMBO, &value, caption, {TCPD_STR_NO, TCPD_STR_YES});
}

T& TCPropertyOnOff(TCPropertyDialog& dialog, int& value, const char* caption)
{
    return BuiltInChoice(dialog, T::TYPE_INT_COMBO, &value, caption, {TCPD_STR_OFF, TCPD_STR_ON});
}

T& TCPropertyParameter(TCPropertyDialog& dialog, int& source)
{
    T& item = BuiltInChoice(dialog, T::TYPE_INT_COMBO, &source, TCPropertyDialogString(TCPD_STR_PARAMETER_SOURCE),
                            {TCPD_STR_INTERNAL, TCPD_STR_EXTERNAL, TCPD_STR_DATABASE});
    if (Item* record = item.GetImpl()) {
        record->SetAnchor("IDP_PARAMETERS");
        record->SetFlag(Item::FLAG_NEEDS_EDIT_RIGHT, true);
        record->SetFlag(Item::FLAG_PARAMETERSOURCE_PARAMETER, true);
    }
    return item;
}

T& TCPropertyCheckboxes(TCPropertyDialog& dialog, int& value, const char* caption, int count, const char* texts,
                        bool horizontal, int* second)
{
    T& item = T::Create(dialog, T::TYPE_CHECKBOXES, &value, caption);
    if (Item* record = item.GetImpl()) {
        ConvertStringToStrArray(texts, record->GetOwnContents(), "\n", false);
        record->SetSize(count);
        record->SetFlag(Item::FLAG_HORIZONTAL, horizontal);
        record->SetVarEx(second);
    }
    return item;
}

T& TCPropertyCheck(TCPropertyDialog& dialog, int& value, const char* caption, const char* text)
{
    return TCPropertyCheckboxes(dialog, value, caption, 1, text, true, nullptr);
}
