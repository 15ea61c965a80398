// The rules of item types: the groups hosts ask about, which modifier serves which type,
// how bounds are stored and normalised, the number a combo entry stands for, and the
// ready-made conditions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "corekit80/propertydialog/TCPropertyConditions.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"

namespace {
using T = TCPropertyDialogInfo;
using Item = TCPropertyDialogInfoImpl;
constexpr int kCodes = 54; // 0 .. 53: every code and the first unused one

// The codes of a list written as in the documentation, "3 8 11"; "all" for every code.
std::set<int> Codes(const char* list)
{
    std::set<int> codes;
    if (std::string(list) == "all") {
        for (int code = 0; code < kCodes; ++code)
            codes.insert(code);
        return codes;
    }
    std::istringstream in(list);
    for (int code; in >> code;)
        codes.insert(code);
    return codes;
}

// One item of every code, in one dialog.
struct AllCodes {
    AllCodes()
    {
        for (int code = 0; code < kCodes; ++code)
            items.push_back(&T::Create(dialog, T::Types(code), nullptr, "x"));
    }
    ~AllCodes() { TCDestroyPropertyDialog(dialog); }
    TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    std::vector<T*> items;
};

int Zero(const void*, const void*) { return 0; }
bool No(const void*, const void*) { return false; }
bool NoGrid(int, int, const void*, const void*) { return false; }
T& NoItem(int, const void*, const void*) { return T::GetDummy(); }
TCPropertyDialog& NoDialog(int, const void*, const void*) { return TCPropertyDialog::GetDummy(); }
T& NoReplacement(const void*, const void*) { return T::GetDummy(); }
TCPropertyDialog& NoReplacementDialog(const void*, const void*) { return TCPropertyDialog::GetDummy(); }
TCString Caption(const void*) { return "c"; }
} // namespace

TEST(TCPropertyItemRules, GroupsOfTypes)
{
    using Static = bool (*)(const T*);
    const struct {
        const char* name;
        const char* codes;
        Static onHandle; // null: asked of the record only
        bool (Item::*onRecord)() const;
    } rows[] = {
        {"IsIntItem", "3 8 11 18 20 21 35 39 48", T::IsIntItem, &Item::IsIntItem},
        {"IsNumberItem", "3 21 48", nullptr, &Item::IsNumberItem},
        {"IsDblItem", "4 26 50", T::IsDblItem, &Item::IsDblItem},
        {"IsStringItem", "5 6 7 12 13 16 17 28", T::IsStringItem, &Item::IsStringItem},
        {"IsTCStringItem", "24 38 40 41 42 43 44 47", T::IsTCStringItem, &Item::IsTCStringItem},
        {"IsTCTranslatedStringItem", "36", T::IsTCTranslatedStringItem, &Item::IsTCTranslatedStringItem},
        {"IsFilePathItem", "33 34 51 52", T::IsFilePathItem, &Item::IsFilePathItem},
        {"IsFilechooserItem", "12 16 17 33 40 42 43 51 52", nullptr, &Item::IsFilechooserItem},
        {"IsComboboxItem", "14 15 23 25 45 46 49 50", T::IsComboboxItem, &Item::IsComboboxItem},
        {"IsIntComboboxItem", "14 25", T::IsIntComboboxItem, &Item::IsIntComboboxItem},
        {"IsDblComboboxItem", "50", nullptr, &Item::IsDblComboboxItem},
        {"IsStringComboboxItem", "15 23", T::IsStringComboboxItem, &Item::IsStringComboboxItem},
        {"IsTCStringComboboxItem", "45 46", nullptr, &Item::IsTCStringComboboxItem},
        {"IsBoolItem", "49", nullptr, &Item::IsBoolItem},
        {"IsButtonItem", "18 19", nullptr, &Item::IsButtonItem},
        {"IsSpinnerItem", "21 26", nullptr, &Item::IsSpinnerItem},
        {"IsSubdialogItem", "1 2", T::IsSubdialogItem, &Item::IsSubdialogItem},
        {"IsEditorItem", "28 47", nullptr, &Item::IsEditorItem},
        {"IsSpecialGridItem", "27 28 47", nullptr, &Item::IsSpecialGridItem},
        {"IsOwnGridItem", "1 27 28 47", nullptr, &Item::IsOwnGridItem},
    };
    AllCodes all;
    for (const auto& row : rows) {
        const std::set<int> codes = Codes(row.codes);
        for (int code = 0; code < kCodes; ++code) {
            const bool expected = codes.count(code) > 0;
            EXPECT_EQ((all.items[code]->GetImpl()->*row.onRecord)(), expected) << row.name << " " << code;
            if (row.onHandle) {
                EXPECT_EQ(row.onHandle(all.items[code]), expected) << row.name << " " << code;
            }
        }
        if (row.onHandle) {
            EXPECT_FALSE(row.onHandle(nullptr)) << row.name;
            EXPECT_FALSE(row.onHandle(&T::GetDummy())) << row.name;
        }
    }
}

TEST(TCPropertyItemRules, EveryModifierAgainstEveryCode)
{
    using Apply = std::function<void(T&)>;
    using Changed = std::function<bool(const Item&)>;
    static unsigned long colours[16];
    static int count = 2;
    static const char data[] = "d";
    static TCString help("h");
    auto flag = [](Item::Flag f) { return [f](const Item& i) { return i.GetFlag(f) != Item::GetDefaultFlag(f); }; };
    const struct {
        const char* name;
        const char* codes;
        Apply apply;
        Changed changed;
    } rows[] = {
        {"SetAdditionalFilter", "12 16 17 30 31 32 33 35 40 42 43 51 52", [](T& t) { t.SetAdditionalFilter("*.x"); },
         [](const Item& i) { return i.GetChooserExtras().filter == "*.x"; }},
        {"SetAdditionalFilter data", "12 16 17 30 31 32 33 35 40 42 43 51 52",
         [](T& t) { t.SetAdditionalFilter(static_cast<const void*>(data)); },
         [](const Item& i) { return i.GetChooserExtras().filterData == data; }},
        {"SetAdditionalFlags", "9 10 11 12 13 16 17 27 29 33 34 40 41 42 43 51 52",
         [](T& t) { t.SetAdditionalFlags(5); }, [](const Item& i) { return i.GetChooserExtras().flags == 5; }},
        {"SetAdditionalDefaultPath", "12 13 16 17 40 41 42 43", [](T& t) { t.SetAdditionalDefaultPath("/p"); },
         [](const Item& i) { return i.GetChooserExtras().defaultPath == "/p"; }},
        {"SetAdditionalDefaultExtension", "12 16 17 33 40 42 43 51 52",
         [](T& t) { t.SetAdditionalDefaultExtension("x"); },
         [](const Item& i) { return i.GetChooserExtras().defaultExtension == "x"; }},
        {"SetAdditionalCaption", "3 4 5 6 12 13 16 17 24 33 34 38 40 41 42 43 48 51 52",
         [](T& t) { t.SetAdditionalCaption("units"); }, [](const Item& i) { return i.GetAdditionalText() == "units"; }},
        {"SetAdditionalOpenSave", "12 33 40", [](T& t) { t.SetAdditionalOpenSave(0); },
         [](const Item& i) { return i.GetChooserExtras().openSave == 0; }},
        {"SetAdditionalCustomColors", "11", [](T& t) { t.SetAdditionalCustomColors(colours); },
         [](const Item& i) { return i.GetChooserExtras().argument == colours; }},
        {"AddEditorButtons", "28 47",
         [](T& t) {
             CStringArray captions;
             captions.Add("Run");
             t.AddEditorButtons(captions, NoGrid, nullptr, nullptr);
         },
         [](const Item& i) { return i.GetEditorButtons().GetSize() == 1 && i.GetGridCallback().fn == NoGrid; }},
        {"AddListCtrlCallback", "27", [](T& t) { t.AddListCtrlCallback(NoGrid, nullptr, nullptr); },
         [](const Item& i) { return i.GetGridCallback().fn == NoGrid; }},
        {"AddToCaption", "14 25", [](T& t) { t.AddToCaption(": ", "a\nb"); },
         [](const Item& i) {
             return i.GetIsNewCaption() && i.GetCaptionExtras().divider == ": " &&
                    i.GetCaptionExtras().captionContents.GetSize() == 2;
         }},
        {"SetMask", "5 24", [](T& t) { t.SetMask("00-00", "-", '#'); },
         [](const Item& i) { return i.GetCaptionExtras().mask == "00-00" && i.GetCaptionExtras().prompt == '#'; }},
        {"DigitsOnly", "5 24", [](T& t) { t.DigitsOnly(); }, flag(Item::FLAG_DIGITS_ONLY)},
        {"IsPort", "5 15 23 24 36 45 46", [](T& t) { t.IsPort(PT_INPUT, "from port"); },
         [](const Item& i) { return i.GetPortLink().type == PT_INPUT && i.GetPortLink().message == "from port"; }},
        {"IsReadOnly", "3 4 5 6 24 36 37 38 48", [](T& t) { t.IsReadOnly(); }, flag(Item::FLAG_READ_ONLY)},
        {"ShowStatusField", "1 27 28 47", [](T& t) { t.ShowStatusField(); }, flag(Item::FLAG_HAS_STATUS_FIELD)},
        {"Delete", "all", [](T& t) { t.Delete(); }, flag(Item::FLAG_DELETE)},
        {"DynamicChanges", "all", [](T& t) { t.DynamicChanges(); }, flag(Item::FLAG_DYNAMIC_CHANGES)},
        {"NeedsEditRight", "all", [](T& t) { t.NeedsEditRight(); }, flag(Item::FLAG_NEEDS_EDIT_RIGHT)},
        {"AlwaysVisible", "all", [](T& t) { t.AlwaysVisible(); }, flag(Item::FLAG_ALWAYS_VISIBLE)},
        {"IsInitialCallback", "all", [](T& t) { t.IsInitialCallback(); }, flag(Item::FLAG_INITIAL_CALLBACK)},
        {"IsHidden", "all", [](T& t) { t.IsHidden(); }, flag(Item::FLAG_HIDDEN)},
        {"URL", "all", [](T& t) { t.URL(" u "); }, [](const Item& i) { return i.GetURL() == "u"; }},
        {"Anchor", "all", [](T& t) { t.Anchor("a\t"); }, [](const Item& i) { return i.GetAnchor() == "a"; }},
        {"UserHelpText", "all", [](T& t) { t.UserHelpText(" t "); },
         [](const Item& i) { return i.GetUserHelpText() == "t"; }},
        {"UserHelpText caller's", "all", [](T& t) { t.UserHelpText(&help); },
         [](const Item& i) { return &i.GetUserHelpText() == &help; }},
        {"IsEnabled", "all", [](T& t) { t.IsEnabled(No, nullptr, nullptr); },
         [](const Item& i) { return i.GetIsEnabledSlot().GetCallback2() == No; }},
        {"Callback", "all", [](T& t) { t.Callback(Zero, nullptr, nullptr); },
         [](const Item& i) { return i.GetCallbackSlot().GetCallback2() == Zero; }},
        {"RangeCallback", "all", [](T& t) { t.RangeCallback(Zero, nullptr, nullptr); },
         [](const Item& i) { return i.GetRangeCallbackSlot().GetCallback2() == Zero; }},
        {"DynamicCaption", "all", [](T& t) { t.DynamicCaption(Caption, nullptr); },
         [](const Item& i) { return i.GetDynamicCaptionSlot().GetCallback1() == Caption; }},
        {"PasswordVerify", "all", [](T& t) { t.PasswordVerify(No, nullptr, nullptr); },
         [](const Item& i) { return i.GetPasswordVerify().fn == No; }},
        {"ButtonClicked", "all", [](T& t) { t.ButtonClicked(Zero, nullptr, nullptr, "Go"); },
         [](const Item& i) { return i.GetButtonClicked().fn == Zero && i.GetAdditionalText() == "Go"; }},
        {"AddDynamicItem", "all", [](T& t) { t.AddDynamicItem(NoItem, &count, nullptr, nullptr); },
         [](const Item& i) { return i.GetDynamicItem().fn == NoItem && i.GetDynamicItem().count == &count; }},
        {"AddDynamicSubproperty", "all", [](T& t) { t.AddDynamicSubproperty(NoDialog, &count, nullptr, nullptr); },
         [](const Item& i) { return i.GetDynamicSub().fn == NoDialog; }},
        {"AddDynamicInplaceProperty", "all",
         [](T& t) { t.AddDynamicInplaceProperty(NoDialog, &count, nullptr, nullptr); },
         [](const Item& i) { return i.GetDynamicInplace().fn == NoDialog; }},
        {"ReplaceItem", "all", [](T& t) { t.ReplaceItem(NoReplacement, nullptr, nullptr); },
         [](const Item& i) { return i.GetReplaceItem().fn == NoReplacement; }},
        {"ReplaceSubproperty", "all", [](T& t) { t.ReplaceSubproperty(NoReplacementDialog, nullptr, nullptr); },
         [](const Item& i) { return i.GetReplaceSub().fn == NoReplacementDialog; }},
        // Combo boxes take no bounds: their entries are their range.
        {"Min", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 16 17 18 19 20 21 22 24 26 27 28 29 30 31 32 33 34 35 36 37 38 39 "
                "40 41 42 43 44 47 48 51 52 53",
         [](T& t) { t.Min(1); }, [](const Item& i) { return i.GetNeedsRangeCheck() && i.Lower().IsPresent(); }},
        {"Max", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 16 17 18 19 20 21 22 24 26 27 28 29 30 31 32 33 34 35 36 37 38 39 "
                "40 41 42 43 44 47 48 51 52 53",
         [](T& t) { t.Max(1.5); }, [](const Item& i) { return i.GetNeedsRangeCheck() && i.Upper().IsPresent(); }},
    };
    for (const auto& row : rows) {
        const std::set<int> codes = Codes(row.codes);
        AllCodes all;
        for (int code = 0; code < kCodes; ++code) {
            T& item = *all.items[code];
            row.apply(item);
            EXPECT_EQ(row.changed(*item.GetImpl()), codes.count(code) > 0) << row.name << " " << code;
        }
        row.apply(T::GetDummy());
    }
}

TEST(TCPropertyItemRules, RangeEdges)
{
    enum Op { MIN_INT, MAX_INT, MIN_DBL, MAX_DBL, MIN_CALLER_INT, MAX_CALLER_INT, MIN_CALLER_DBL, MAX_CALLER_DBL,
              MIN_NULL_INT, MAX_NULL_DBL };
    const double inf = DBL_MAX;
    const struct {
        int code;
        Op op;
        double value; // the number given, or the caller's variable before
        double lower, upper; // the effective bounds afterwards
        double callerAfter;  // the caller's variable afterwards
        bool rangeCheck;
    } rows[] = {
        {48, MIN_INT, -1, 4294967295.0, 4294967295.0, 0, true},
        {48, MAX_INT, 7, 0, 7, 0, true},
        {3, MIN_INT, -3, -3, 2147483647.0, 0, true},
        {3, MAX_INT, INT_MIN, -2147483648.0, -2147483648.0, 0, true},
        {4, MIN_DBL, 2.5, 2.5, inf, 0, true},
        {26, MAX_DBL, -2.5, -inf, -2.5, 0, true},
        {5, MIN_INT, -3, 0, 2147483647.0, 0, true},
        {27, MAX_DBL, -0.5, -2147483648.0, 0, 0, true},
        {33, MAX_INT, 1000, -2147483648.0, 259, 0, true},
        {12, MAX_INT, -5, -2147483648.0, 0, 0, true},
        {40, MAX_INT, 1000, -2147483648.0, 259, 0, true},
        {40, MIN_INT, -3, -3, 2147483647.0, 0, true},
        {36, MIN_INT, -3, -3, 2147483647.0, 0, true},
        {5, MIN_CALLER_INT, -5, 0, 2147483647.0, 0, true},
        {52, MAX_CALLER_INT, 300, -2147483648.0, 259, 259, true},
        {51, MAX_CALLER_DBL, 260.5, -2147483648.0, 259, 259, true},
        {47, MIN_CALLER_DBL, -0.25, 0, 2147483647.0, 0, true},
        {3, MIN_CALLER_INT, -5, -5, 2147483647.0, -5, true},
        {4, MAX_CALLER_DBL, 1e300, -inf, 1e300, 1e300, true},
        {3, MIN_NULL_INT, 0, 0, 2147483647.0, 0, true},
        {4, MAX_NULL_DBL, 0, -inf, 0, 0, true},
        {14, MIN_INT, 5, -2147483648.0, 2147483647.0, 0, false},
        {50, MAX_DBL, 5, -inf, inf, 0, false},
        {49, MIN_CALLER_INT, 5, -2147483648.0, 2147483647.0, 5, false},
    };
    for (const auto& row : rows) {
        TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        T& item = T::Create(dialog, T::Types(row.code), nullptr, "x");
        int callerInt = int(row.value);
        double callerDbl = row.value;
        switch (row.op) {
        case MIN_INT: item.Min(int(row.value)); break;
        case MAX_INT: item.Max(int(row.value)); break;
        case MIN_DBL: item.Min(row.value); break;
        case MAX_DBL: item.Max(row.value); break;
        case MIN_CALLER_INT: item.Min(&callerInt); break;
        case MAX_CALLER_INT: item.Max(&callerInt); break;
        case MIN_CALLER_DBL: item.Min(&callerDbl); break;
        case MAX_CALLER_DBL: item.Max(&callerDbl); break;
        case MIN_NULL_INT: item.Min(static_cast<const int*>(nullptr)); break;
        case MAX_NULL_DBL: item.Max(static_cast<const double*>(nullptr)); break;
        }
        const Item& record = *item.GetImpl();
        const int line = int(&row - rows);
        EXPECT_EQ(record.GetLowerValue(), row.lower) << line;
        EXPECT_EQ(record.GetUpperValue(), row.upper) << line;
        EXPECT_EQ(record.GetNeedsRangeCheck(), row.rangeCheck) << line;
        if (row.op >= MIN_CALLER_INT && row.op <= MAX_CALLER_DBL) {
            EXPECT_EQ(row.op <= MAX_CALLER_INT ? double(callerInt) : callerDbl, row.callerAfter) << line;
            // The bound lives in the caller's variable, unless the combo box refused it.
            const void* where = row.op <= MAX_CALLER_INT ? static_cast<const void*>(&callerInt) : &callerDbl;
            const void* bound = row.op % 2 == 0 ? record.GetLowerBound() : record.GetUpperBound();
            EXPECT_EQ(bound, row.rangeCheck ? where : nullptr) << line;
        }
        TCDestroyPropertyDialog(dialog);
    }
    // A lower bound above the upper one stays so; the range check is read from the module.
    TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    int low = 10;
    T& item = T::Create(dialog, T::TYPE_INT, nullptr, "x").Min(&low).Max(5);
    low = 20;
    EXPECT_EQ(item.GetImpl()->GetLowerValue(), 20);
    EXPECT_EQ(item.GetImpl()->GetUpperValue(), 5);
    TCDestroyPropertyDialog(dialog);
}

TEST(TCPropertyItemRules, SpecialComboAgainstBruteForce)
{
    auto array = [](std::initializer_list<const char*> texts) {
        CStringArray a;
        for (const char* t : texts)
            a.Add(t);
        return a;
    };
    const CStringArray plain = array({"1", "5", "10"});
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(7, plain, true), 1);
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(12, plain, true), 10);
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(5, plain, true), 5);
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(2.5, array({"0.5", "2.5e0"}), true), 2.5);
    // Entries without ":" stand for the number before them.
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(4, array({"4:four", "also four", "9:nine"}), false), 4);
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(0, array({"zero", "7:seven"}), false), 0);
    int min = 0, max = 0;
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(3, CStringArray(), true, min, max), INT_MIN);
    EXPECT_EQ(min, INT_MAX);
    EXPECT_EQ(max, INT_MIN);
    double dmin = 0, dmax = 0;
    EXPECT_EQ(Item::CheckValueForSpecialComboBox(-HUGE_VAL, CStringArray(), false, dmin, dmax), -DBL_MAX);
    EXPECT_EQ(dmin, DBL_MAX);
    EXPECT_EQ(dmax, -DBL_MAX);

    // Random entry lists: the answer is the value when an entry stands for it, else the
    // largest or smallest number, which min and max then hold.
    std::mt19937 random(17);
    for (int round = 0; round < 2000; ++round) {
        const bool plainNumbers = random() % 2;
        const int n = int(random() % 6);
        CStringArray entries;
        std::vector<int> numbers;
        for (int i = 0; i < n; ++i) {
            const int number = int(random() % 21) - 10;
            const int form = plainNumbers ? 0 : int(random() % 3);
            if (form == 0)
                entries.Add(std::to_string(number).c_str());
            else if (form == 1)
                entries.Add((std::to_string(number) + ":text").c_str());
            else
                entries.Add("no number");
            // Without plain numbers only a number before ":" counts.
            const bool own = plainNumbers || form == 1;
            numbers.push_back(own ? number : numbers.empty() ? 0 : numbers.back());
        }
        const int value = int(random() % 25) - 12;
        int lo, hi;
        const int got = Item::CheckValueForSpecialComboBox(value, entries, plainNumbers, lo, hi);
        double dlo, dhi;
        const double gotDbl = Item::CheckValueForSpecialComboBox(double(value), entries, plainNumbers, dlo, dhi);
        if (numbers.empty()) {
            EXPECT_EQ(got, INT_MIN);
            continue;
        }
        const int smallest = *std::min_element(numbers.begin(), numbers.end());
        const int largest = *std::max_element(numbers.begin(), numbers.end());
        const bool found = std::find(numbers.begin(), numbers.end(), value) != numbers.end();
        const int expected = found ? value : value >= largest ? largest : smallest;
        EXPECT_EQ(got, expected) << round;
        EXPECT_EQ(gotDbl, double(expected)) << round;
        if (!found) {
            EXPECT_EQ(lo, smallest) << round;
            EXPECT_EQ(hi, largest) << round;
            EXPECT_EQ(dlo, smallest) << round;
            EXPECT_EQ(dhi, largest) << round;
        }
    }
}

TEST(TCPropertyItemRules, Conditions)
{
    int zero = 0, one = 1, otherOne = 1;
    bool yes = true, no = false;
    double third = 1.0 / 3.0, nearThird = third * (1 + 1e-16), half = 0.5;
    TCString abc("abc"), abcUpper("ABC"), abd("abd");
    using Fn = bool (*)(const void*, const void*);
    const struct {
        const char* name;
        Fn fn;
        const void* a;
        const void* b;
        bool expected;
    } rows[] = {
        {"IsEqualInt", TCPropertyDialogIsEqualInt, &one, &otherOne, true},
        {"IsEqualInt", TCPropertyDialogIsEqualInt, &one, &zero, false},
        {"IsNotEqualInt", TCPropertyDialogIsNotEqualInt, &one, &zero, true},
        {"IsEqualInt null", TCPropertyDialogIsEqualInt, nullptr, &zero, true},
        {"IsEqualDbl", TCPropertyDialogIsEqualDbl, &third, &nearThird, true},
        {"IsEqualDbl", TCPropertyDialogIsEqualDbl, &third, &half, false},
        {"IsNotEqualDbl", TCPropertyDialogIsNotEqualDbl, &third, &half, true},
        {"IsEqualString", TCPropertyDialogIsEqualString, "abc", "abc", true},
        {"IsEqualString", TCPropertyDialogIsEqualString, "abc", "ABC", false},
        {"IsEqualString null", TCPropertyDialogIsEqualString, nullptr, "", true},
        {"IsEqualStringNoCase", TCPropertyDialogIsEqualStringNoCase, "abc", "ABC", true},
        {"IsEqualStringNoCase", TCPropertyDialogIsEqualStringNoCase, "abc", "abd", false},
        {"IsEqualTCString", TCPropertyDialogIsEqualTCString, &abc, &abc, true},
        {"IsEqualTCString", TCPropertyDialogIsEqualTCString, &abc, &abcUpper, false},
        {"IsEqualTCStringNoCase", TCPropertyDialogIsEqualTCStringNoCase, &abc, &abcUpper, true},
        {"IsEqualTCStringNoCase", TCPropertyDialogIsEqualTCStringNoCase, &abc, &abd, false},
        {"VerifyPassword", TCPropertyDialogVerifyPassword, "Secret", "Secret", true},
        {"VerifyPassword", TCPropertyDialogVerifyPassword, "Secret", "secret", false},
        {"VerifyTCStringPassword", TCPropertyDialogVerifyTCStringPassword, &abc, &abc, true},
        {"VerifyTCStringPassword", TCPropertyDialogVerifyTCStringPassword, &abc, &abcUpper, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.fn(row.a, row.b), row.expected) << row.name << " " << int(&row - rows);
    EXPECT_TRUE(TCPropertyDialogIsSet(&one));
    EXPECT_FALSE(TCPropertyDialogIsSet(&zero));
    EXPECT_TRUE(TCPropertyDialogIsNotSet(&zero));
    EXPECT_TRUE(TCPropertyDialogIsSetBool(&yes));
    EXPECT_TRUE(TCPropertyDialogIsNotSetBool(&no));
    EXPECT_TRUE(TCPropertyDialogIsNotSet(nullptr));
    EXPECT_FALSE(TCPropertyDialogReadOnly());
}
