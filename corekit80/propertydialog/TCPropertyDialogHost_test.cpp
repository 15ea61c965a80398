// The host that shows dialogs by applying edits: every kind of item edited through the
// public path (TCShowPropertyDialog), refusals that leave the module's values as they
// were, and the order of the callbacks.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "corekit80/foundation/TCFilePath.h"
#include "corekit80/foundation/TCResourceLanguage.h"
#include "corekit80/foundation/TCTranslatedFont.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/platform/TCControlRecords.h"
#include "corekit80/propertydialog/TCPropertyBuilders.h"
#include "corekit80/propertydialog/TCPropertyComboBuilders.h"
#include "corekit80/propertydialog/TCPropertyConditions.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogHost.h"
#include "corekit80/propertydialog/TCPropertyDialogText.h"

namespace {
// The module's variables, one of every kind, and the dialog that edits them.
struct Module {
    int count = 4, flag = 0, spin = 1, index = 0, textIndex = 0, boxes = 0, button = 0;
    unsigned big = 7;
    unsigned long colour = 0x102030;
    long seconds = 60;
    double gain = 0.5, step = 1, choice = 1;
    bool on = false;
    CString name = "out", password, editor, choiceText = "a";
    TCString note = "n", tcChoice = "x", comboText;
    TCTranslatedString title = "T";
    TCTranslatedFont translatedFont;
    LOGFONTA font{};
    CHARFORMATA format{};
    COleDateTime ole{};
    CTime time{};
    SYSTEMTIME calendar{};
    TCKeyboardHook_KEY key{};
    TCFilePath file = "a.txt";
    HICON icon = nullptr;
    TCArray<CStringArray> rows;
    TCArray<TCPropertyListHeader> headers;
    CStringArray entries;

    static int Clicked(const void*, const void*) { return 42; }

    TCPropertyDialog& Build()
    {
        headers.SetSize(2);
        entries.Add("x");
        entries.Add("y");
        TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        TCPropertyInt(top, count, "Count").Min(1).Max(16);
        TCPropertyInt(top, big, "Big");
        TCPropertyBool(top, flag, "Flag");
        TCPropertyColor(top, colour, "Colour");
        TCPropertySpin(top, spin, "Spin");
        TCPropertyDateTime(top, seconds, "Seconds");
        TCPropertyCheckboxes(top, boxes, "Boxes", 3, "a\nb\nc");
        TCPropertyDbl(top, gain, "Gain").Min(-1.0).Max(1.0);
        TCPropertySpinDbl(top, step, "Step");
        TCPropertyString(top, name, "Name").Max(5);
        TCPropertyString(top, note, "Note").DigitsOnly();
        TCPropertyString(top, title, "Title");
        TCPropertyPassword(top, password, "Password");
        TCPropertyEditor(top, editor, "Editor");
        TCPropertyFile(top, file, "File");
        TCPropertyIcon(top, file, icon, "Icon");
        TCPropertyYesNo(top, index, "Average");
        TCPropertyCombo(top, textIndex, comboText, "Pick", &entries, false);
        TCPropertyCombo(top, choiceText, "Choice", "a\nb", true);
        TCPropertyCombo(top, tcChoice, "Free", &entries);
        TCPropertyYesNo(top, on, "On");
        TCPropertyCombo(top, choice, "Factor", "0.5\n1\n2");
        TCPropertyFont(top, font, "Font");
        TCPropertyFont(top, format, "Format");
        TCPropertyFont(top, translatedFont, "Translated font");
        TCPropertyDateTime(top, ole, "OLE");
        TCPropertyDateTime(top, time, "Time");
        TCPropertyDateTime(top, calendar, "Calendar");
        TCPropertyHotKey(top, key, "Key");
        TCPropertyListCtrl(top, rows, "Rows", headers).Max(1);
        TCPropertyButton(top, button, "Button", "Go").ButtonClicked(Clicked, nullptr, nullptr);
        TCPropertyInt(top, count, "Locked").IsReadOnly();
        TCPropertySeparator(top);
        TCPropertyDialog& sub = TCCreateSubProperty(top, "Sub/1", false);
        TCPropertyDbl(sub, gain, "Inner");
        TCPropertyDialog& off = TCCreateSubProperty(top, "Off", false);
        off.IsEnabled(TCPropertyDialogReadOnly);
        TCPropertyDbl(off, gain, "Inner");
        TCPropertyDbl(top, gain, "Disabled").IsEnabled(TCPropertyDialogIsSet, &flag);
        return top;
    }
};

struct HostScope {
    HostScope() { TCSetHostWindow(&host); }
    ~HostScope() { TCSetHostWindow(nullptr); }
    TCPropertyDialogHost host;
};
} // namespace

TEST(TCPropertyDialogHost, EditsEveryKindOfItem)
{
    const int before = TCSetLoadStrResLanguage(0);
    const struct {
        const char* edit;
        const char* line; // the item's line afterwards, or a part of the reason it failed
    } rows[] = {
        {"Count = 16", "\"Count\" value=16 min=1 max=16"},
        {"Count = 0x10", "\"Count\" value=16"},
        {"Count = 17", "value 17 is outside 1 .. 16"},
        {"Count = 4x", "is no integer"},
        {"Big = 4294967295", "\"Big\" value=4294967295"},
        {"Big = -1", "is no integer in 0 .. 4294967295"},
        {"Flag = 1", "\"Flag\" value=1"},
        {"Flag = 2", "is no integer in 0 .. 1"},
        {"Colour = 0xFFEEDD", "\"Colour\" value=0x00ffeedd"},
        {"Spin = -3", "\"Spin\" value=-3"},
        {"Seconds = -9000000000", "\"Seconds\" value=-9000000000"},
        {"Boxes = 5", "\"Boxes\" value=5"},
        {"Gain = -1e0", "\"Gain\" value=-1 "},
        {"Gain = 1.5", "value 1.5 is outside -1 .. 1"},
        {"Gain = nan", "is no number"},
        {"Step = 2.25", "\"Step\" value=2.25"},
        {"Name =  \"a \\\"b\\\"\" ", "\"Name\" value=\"a \\\"b\\\"\" max=5"},
        {"Name = sixsix", "length 6 is outside"},
        {"Note = 0123", "\"Note\" value=\"0123\""},
        {"Note = 12a", "holds more than digits"},
        {"Title = Hello world", "\"Title\" value=\"Hello world\""},
        {"Password = secret", "\"Password\" value=(set)"},
        {"Editor = \"line 1\\nline 2\"", "\"Editor\" value=\"line 1\\nline 2\""},
        {"File = data/b.csv", "\"File\" value=\".\\\\data\\\\b.csv\""},
        {"Icon = i.ico", "\"Icon\" value=\".\\\\i.ico\""},
        {"Average = Yes", "\"Average\" value=1 (\"Yes\")"},
        {"Average = 0", "\"Average\" value=0 (\"No\")"},
        {"Average = Maybe", "is none of the 2 entries"},
        {"Pick = y", "\"Pick\" value=1 (\"y\") \"y\""},
        {"Pick = typed", "\"Pick\" value=-1 \"typed\""},
        {"Choice = b", "\"Choice\" value=\"b\""},
        {"Choice = c", "is none of the entries"},
        {"Free = anything", "\"Free\" value=\"anything\""},
        {"On = true", "\"On\" value=true"},
        {"On = Yes", "\"On\" value=true"},
        {"Factor = 2", "\"Factor\" value=2"},
        {"Factor = 3", "3 is none of the entries"},
        {"Font = \"Sans\" -12 700", "\"Font\" value=\"Sans\" -12 700"},
        {"Font = Sans -12 1001", "is no \"face\" height weight"},
        {"Format = Mono 200 0x3", "\"Format\" value=\"Mono\" 200 0x3"},
        {"Translated font = \"Serif Bold\" 14 400", "\"Translated font\" value=\"Serif Bold\" 14 400"},
        {"OLE = 45000.5", "\"OLE\" value=45000.5"},
        {"Time = 1700000000", "\"Time\" value=1700000000"},
        {"Calendar = 2024-02-29 23:59:58.125", "\"Calendar\" value=2024-02-29 23:59:58.125"},
        {"Calendar = 2023-02-29 00:00:00", "is no date and time"},
        {"Key = 0x41+0x3", "\"Key\" value=0x41+0x3"},
        {"Rows = 0 1 \"a b\"", "\"Rows\" value=1 rows"},
        {"Rows = 1 0 x", "is no ROW COLUMN TEXT within 1 rows and 2 columns"},
        {"Button = click", "\"Button\" value=42"},
        {"Locked = 3", "\"Locked\" is read-only"},
        {"Sub\\/1 / Inner = 0.25", "\"Inner\" value=0.25"},
        {"Off/Inner = 0.25", "\"Off\" is disabled"},
        {"Disabled = 1", "\"Disabled\" is disabled"},
        {"Count/Inner = 1", "\"Count\" is no sub-dialog"},
        {"Missing = 1", "no item \"Missing\""},
        {"Count", "no \"=\""},
        {"Count/ = 1", "an empty caption"},
    };
    for (const auto& row : rows) {
        HostScope scope;
        Module module;
        TCPropertyDialog& dialog = module.Build();
        const TCString before = TCPropertyDialogText(dialog);
        scope.host.AddEdit(row.edit);
        const int answer = TCShowPropertyDialog(dialog, 0);
        const TCString& error = scope.host.GetError();
        if (answer == 1) {
            const std::string text(scope.host.GetText());
            EXPECT_NE(text.find(row.line), std::string::npos) << row.edit << "\n" << text;
        } else {
            EXPECT_NE(std::string(error).find(row.line), std::string::npos) << row.edit << ": " << error;
            EXPECT_STREQ(TCPropertyDialogText(dialog), before) << row.edit;
        }
        TCDestroyPropertyDialog(dialog);
    }
    TCSetLoadStrResLanguage(before < 0 ? 0 : before);
}

namespace {
std::string calls;

int Note(const void* what)
{
    calls += static_cast<const char*>(what);
    calls += ' ';
    return 0;
}

bool Verify(const void* a, const void* b)
{
    Note("verify");
    return TCPropertyDialogVerifyTCStringPassword(a, b);
}

int Complain(const void* dialog)
{
    Note("callback");
    TCPropertyDialogSetErrorMessage(*static_cast<TCPropertyDialog*>(const_cast<void*>(dialog)), "Gain", "too loud");
    return 0;
}
} // namespace

TEST(TCPropertyDialogHost, CallbacksInOrderAndCancelUndoes)
{
    const struct {
        const char* edits;
        int answer;
        const char* calls;
        int a, b;
        const char* messages;
    } rows[] = {
        {"", 1, "b ok ", 1, 2, ""},
        {"A = 5|B = 6", 1, "b range callback range b ok ", 5, 6, "error: Gain: too loud\n"},
        {"A = 5|B = x", 2, "b range callback range cancel ", 1, 2, "error: Gain: too loud\n"},
        {"A = 5|Word = other", 2, "b range callback verify cancel ", 1, 2, "error: Gain: too loud\n"},
        {"Word = same|A = 7", 1, "b verify range callback ok ", 7, 2, "error: Gain: too loud\n"},
    };
    for (const auto& row : rows) {
        HostScope scope;
        std::string edits(row.edits);
        for (size_t start = 0; start < edits.size();) {
            const size_t end = std::min(edits.find('|', start), edits.size());
            scope.host.AddEdit(edits.substr(start, end - start).c_str());
            start = end + 1;
        }
        int a = 1, b = 2;
        TCString word, repeated("same");
        TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        dialog.OKCallback(Note, "ok").CancelCallback(Note, "cancel");
        TCPropertyInt(dialog, a, "A").RangeCallback(Note, "range").Callback(Complain, &dialog);
        TCPropertyInt(dialog, b, "B").RangeCallback(Note, "range").Callback(Note, "b").IsInitialCallback();
        TCPropertyPassword(dialog, word, "Word").PasswordVerify(Verify, &word, &repeated);
        calls.clear();
        EXPECT_EQ(TCShowPropertyDialog(dialog, 0), row.answer) << row.edits;
        EXPECT_EQ(calls, row.calls) << row.edits;
        EXPECT_EQ(a, row.a) << row.edits;
        EXPECT_EQ(b, row.b) << row.edits;
        EXPECT_EQ(std::string(scope.host.GetMessages()), row.messages) << row.edits;
        EXPECT_EQ(word.IsEmpty(), row.answer == 2 || std::string(row.edits).find("Word") == std::string::npos);
        TCDestroyPropertyDialog(dialog);
    }
}

TEST(TCPropertyDialogHost, AnswersOnlyItsMessage)
{
    struct Next : TCHostWindow {
        long Send(unsigned message, unsigned long, long) override { return long(message); }
    } next;
    TCPropertyDialogHost host(&next);
    TCSetHostWindow(&host);
    EXPECT_EQ(host.Send(40009, 3, 0), 40009);
    EXPECT_EQ(host.Send(36001, 1, 0), 2);
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    TCPropertyDialog& sub = TCCreateSubProperty(top, "S", false);
    EXPECT_EQ(TCShowPropertyDialog(sub, 0), 2);
    EXPECT_EQ(TCShowPropertyDialog(top, 0), 1);
    EXPECT_EQ(host.GetShowCount(), 1);
    EXPECT_STREQ(host.GetText(), "0 1 \"S\" enabled=1\n");
    TCSetHostWindow(nullptr);
    TCDestroyPropertyDialog(top);
}

// Edits of random bytes and of random pieces of the valid ones: every answer is OK or
// Cancel, and a cancelled dialog holds the values it had.
TEST(TCPropertyDialogHost, RandomEditsNeverHarm)
{
    const char pieces[][12] = {"Count", "Sub\\/1", "/", "=", " ", "\"", "\\", "\\x4", "0x", "-", "1e308", "Rows",
                               "Calendar", "Font", "Pick", "Inner", "99999999999", "\n", ".", "+", "Name"};
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        std::string edit;
        const int n = int(random() % 8);
        for (int i = 0; i < n; ++i)
            edit += round % 2 ? std::string(1, char(random() % 256)) : pieces[random() % std::size(pieces)];
        HostScope scope;
        Module module;
        TCPropertyDialog& dialog = module.Build();
        const TCString before = TCPropertyDialogText(dialog);
        scope.host.AddEdit(edit.c_str());
        const int answer = TCShowPropertyDialog(dialog, 0);
        EXPECT_TRUE(answer == 1 || answer == 2) << edit;
        if (answer == 2) {
            EXPECT_STREQ(TCPropertyDialogText(dialog), before) << edit;
        }
        TCDestroyPropertyDialog(dialog);
    }
}
