// The builders: what each makes, the built-in texts in both languages, and dialogs built
// with them as text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
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
#include "corekit80/propertydialog/TCPropertyDialogText.h"

namespace {
using T = TCPropertyDialogInfo;
using Item = TCPropertyDialogInfoImpl;

struct LanguageScope {
    explicit LanguageScope(int language) : before(TCSetLoadStrResLanguage(language)) {}
    ~LanguageScope() { TCSetLoadStrResLanguage(before < 0 ? 0 : before); }
    int before;
};

std::string Join(const CStringArray& texts)
{
    std::string joined;
    for (int i = 0; i < texts.GetSize(); ++i)
        joined += (i ? "|" : "") + std::string(texts[i]);
    return joined;
}

// What a builder put into the item beyond its type and variables, where it differs from
// a new item captioned "c": caption, flags, entries, size, behaviour, step, texts.
std::string Summary(const Item& item)
{
    std::string out;
    if (item.GetText() != "c")
        out += "caption=" + std::string(item.GetText()) + " ";
    for (int i = 0; i < Item::FLAG_COUNT; ++i) {
        const auto flag = Item::Flag(i);
        if (item.GetFlag(flag) != Item::GetDefaultFlag(flag))
            out += std::string(item.GetFlag(flag) ? "+" : "-") + Item::GetFlagName(flag) + " ";
    }
    if (item.GetContents().GetSize())
        out += "entries=" + Join(item.GetContents()) + " ";
    if (item.GetSize())
        out += "size=" + std::to_string(item.GetSize()) + " ";
    if (item.GetUseStandardBehaviour() != 1)
        out += "behaviour=" + std::to_string(item.GetUseStandardBehaviour()) + " ";
    if (item.GetDelta() != 0.1)
        out += "delta=" + std::to_string(item.GetDelta()) + " ";
    if (!item.GetAdditionalText().IsEmpty())
        out += "text=" + std::string(item.GetAdditionalText()) + " ";
    if (!item.GetAnchor().IsEmpty())
        out += "anchor=" + std::string(item.GetAnchor()) + " ";
    if (item.GetListHeaders().GetSize())
        out += "headers=" + std::to_string(item.GetListHeaders().GetSize()) + " ";
    return out.empty() ? out : out.substr(0, out.size() - 1);
}
} // namespace

TEST(TCPropertyBuilders, WhatEachBuilderMakes)
{
    LanguageScope english(0);
    int i = 0;
    unsigned u = 0;
    double d = 0;
    bool b = false;
    unsigned long colour = 0;
    long seconds = 0;
    CString cs;
    TCString tcs, second;
    TCTranslatedString translated("t");
    TCTranslatedFont translatedFont;
    LOGFONTA font{};
    CHARFORMATA format{};
    COleDateTime ole{};
    CTime ctime{};
    SYSTEMTIME st{};
    TCKeyboardHook_KEY key{};
    TCFilePath path;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    TCArray<CStringArray> rows;
    TCArray<TCPropertyListHeader> headers;
    headers.SetSize(2);
    CStringArray entries;
    entries.Add("x");
    entries.Add("y");
    int boxes = 0;

    using Build = std::function<T&(TCPropertyDialog&)>;
    const struct {
        const char* name;
        Build build;
        int code;
        const void* var;
        const void* varEx;
        const char* summary;
    } table[] = {
        {"Int", [&](auto& g) -> T& { return TCPropertyInt(g, i, "c"); }, 3, &i, nullptr, ""},
        {"Int unsigned", [&](auto& g) -> T& { return TCPropertyInt(g, u, "c"); }, 48, &u, nullptr, ""},
        {"Dbl", [&](auto& g) -> T& { return TCPropertyDbl(g, d, "c"); }, 4, &d, nullptr, ""},
        {"Bool", [&](auto& g) -> T& { return TCPropertyBool(g, i, "c"); }, 8, &i, nullptr, ""},
        {"Color", [&](auto& g) -> T& { return TCPropertyColor(g, colour, "c"); }, 11, &colour, nullptr, ""},
        {"Spin", [&](auto& g) -> T& { return TCPropertySpin(g, i, "c", 5); }, 21, &i, nullptr, "delta=5.000000"},
        {"SpinDbl", [&](auto& g) -> T& { return TCPropertySpinDbl(g, d, "c", 0.25); }, 26, &d, nullptr,
         "delta=0.250000"},
        {"Font", [&](auto& g) -> T& { return TCPropertyFont(g, font, "c"); }, 9, &font, nullptr, ""},
        {"Font format", [&](auto& g) -> T& { return TCPropertyFont(g, format, "c"); }, 10, &format, nullptr, ""},
        {"Font translated", [&](auto& g) -> T& { return TCPropertyFont(g, translatedFont, "c"); }, 29,
         &translatedFont, nullptr, ""},
        {"DateTime OLE", [&](auto& g) -> T& { return TCPropertyDateTime(g, ole, "c"); }, 30, &ole, nullptr, ""},
        {"DateTime time", [&](auto& g) -> T& { return TCPropertyDateTime(g, ctime, "c"); }, 31, &ctime, nullptr, ""},
        {"DateTime record", [&](auto& g) -> T& { return TCPropertyDateTime(g, st, "c"); }, 32, &st, nullptr, ""},
        {"DateTime seconds", [&](auto& g) -> T& { return TCPropertyDateTime(g, seconds, "c"); }, 35, &seconds,
         nullptr, ""},
        {"HotKey", [&](auto& g) -> T& { return TCPropertyHotKey(g, key, "c"); }, 37, &key, nullptr, ""},
        {"String", [&](auto& g) -> T& { return TCPropertyString(g, cs, "c"); }, 5, &cs, nullptr, ""},
        {"String TCString", [&](auto& g) -> T& { return TCPropertyString(g, tcs, "c", true); }, 24, &tcs, nullptr,
         "+new-caption"},
        {"String translated", [&](auto& g) -> T& { return TCPropertyString(g, translated, "c"); }, 36, &translated,
         nullptr, ""},
        {"Multiline -1", [&](auto& g) -> T& { return TCPropertyMultiline(g, cs, "c", -1); }, 6, &cs, nullptr,
         "size=19"},
        {"Multiline 0", [&](auto& g) -> T& { return TCPropertyMultiline(g, tcs, "c", 0); }, 38, &tcs, nullptr,
         "size=1"},
        {"Multiline 40", [&](auto& g) -> T& { return TCPropertyMultiline(g, cs, "c", 40); }, 6, &cs, nullptr,
         "size=19"},
        {"Multiline 7", [&](auto& g) -> T& { return TCPropertyMultiline(g, cs, "c", 7); }, 6, &cs, nullptr,
         "size=7"},
        {"Editor", [&](auto& g) -> T& { return TCPropertyEditor(g, cs, "c", true); }, 28, &cs, nullptr,
         "+new-caption"},
        {"Editor TCString", [&](auto& g) -> T& { return TCPropertyEditor(g, tcs, "c"); }, 47, &tcs, nullptr, ""},
        {"Password", [&](auto& g) -> T& { return TCPropertyPassword(g, cs, "c"); }, 7, &cs, nullptr, ""},
        {"Password TCString", [&](auto& g) -> T& { return TCPropertyPassword(g, tcs, "c"); }, 44, &tcs, nullptr, ""},
        {"File", [&](auto& g) -> T& { return TCPropertyFile(g, path, "c"); }, 33, &path, nullptr, ""},
        {"Folder", [&](auto& g) -> T& { return TCPropertyFolder(g, path, "c"); }, 34, &path, nullptr, ""},
        {"Icon", [&](auto& g) -> T& { return TCPropertyIcon(g, path, icon, "c"); }, 51, &path, &icon, ""},
        {"Bitmap", [&](auto& g) -> T& { return TCPropertyBitmap(g, path, bitmap, "c"); }, 52, &path, &bitmap, ""},
        {"Button", [&](auto& g) -> T& { return TCPropertyButton(g, i, "c", "Go"); }, 18, &i, nullptr, "text=Go"},
        {"Button without variable", [&](auto& g) -> T& { return TCPropertyButton(g, "c", "Go"); }, 19, nullptr,
         nullptr, "text=Go"},
        {"ListCtrl", [&](auto& g) -> T& { return TCPropertyListCtrl(g, rows, "c", headers, true); }, 27, &rows,
         nullptr, "+new-caption headers=2"},
        {"Separator", [&](auto& g) -> T& { return TCPropertySeparator(g); }, 22, nullptr, nullptr, "caption="},
        {"Combo CString text", [&](auto& g) -> T& { return TCPropertyCombo(g, cs, "c", "a\nb\n"); }, 15, &cs,
         nullptr, "entries=a|b size=2"},
        {"Combo CString array", [&](auto& g) -> T& { return TCPropertyCombo(g, cs, "c", entries, true); }, 23, &cs,
         nullptr, "+read-only entries=x|y size=2"},
        {"Combo CString caller's", [&](auto& g) -> T& { return TCPropertyCombo(g, cs, "c", &entries); }, 23, &cs,
         nullptr, "+dynamic-contents entries=x|y size=2"},
        {"Combo TCString text", [&](auto& g) -> T& { return TCPropertyCombo(g, tcs, "c", "a\n\nb", true); }, 45,
         &tcs, nullptr, "+read-only entries=a||b size=3"},
        {"Combo TCString array", [&](auto& g) -> T& { return TCPropertyCombo(g, tcs, "c", entries); }, 46, &tcs,
         nullptr, "entries=x|y size=2"},
        {"Combo TCString caller's", [&](auto& g) -> T& { return TCPropertyCombo(g, tcs, "c", &entries); }, 46,
         &tcs, nullptr, "+dynamic-contents entries=x|y size=2"},
        {"Combo int text", [&](auto& g) -> T& { return TCPropertyCombo(g, i, "c", "a\nb", 2); }, 14, &i, nullptr,
         "+read-only entries=a|b size=2 behaviour=2"},
        {"Combo int array", [&](auto& g) -> T& { return TCPropertyCombo(g, i, "c", entries); }, 14, &i, nullptr,
         "+read-only entries=x|y size=2"},
        {"Combo int caller's", [&](auto& g) -> T& { return TCPropertyCombo(g, i, "c", &entries); }, 14, &i,
         nullptr, "+read-only +dynamic-contents entries=x|y size=2"},
        {"Combo int null text", [&](auto& g) -> T& { return TCPropertyCombo(g, i, "c", (const char*)nullptr); }, 14,
         &i, nullptr, "+read-only"},
        {"Combo int null array", [&](auto& g) -> T& { return TCPropertyCombo(g, i, "c", (CStringArray*)nullptr); },
         14, &i, nullptr, "+read-only"},
        {"Combo int and text", [&](auto& g) -> T& { return TCPropertyCombo(g, i, second, "c", &entries, true); }, 25,
         &i, &second, "+read-only +dynamic-contents entries=x|y size=2"},
        {"Combo double", [&](auto& g) -> T& { return TCPropertyCombo(g, d, "c", "0.5\n1"); }, 50, &d, nullptr,
         "+read-only entries=0.5|1 size=2 behaviour=3"},
        {"YesNo int", [&](auto& g) -> T& { return TCPropertyYesNo(g, i, "c"); }, 14, &i, nullptr,
         "+read-only entries=No|Yes size=2"},
        {"YesNo bool", [&](auto& g) -> T& { return TCPropertyYesNo(g, b, "c"); }, 49, &b, nullptr,
         "+read-only entries=No|Yes size=2"},
        {"OnOff", [&](auto& g) -> T& { return TCPropertyOnOff(g, i, "c"); }, 14, &i, nullptr,
         "+read-only entries=Off|On size=2"},
        {"Parameter", [&](auto& g) -> T& { return TCPropertyParameter(g, i); }, 14, &i, nullptr,
         "caption=Parameter source +read-only +needs-edit-right +parameter-source entries=Internal|External|Database size=3 "
         "anchor=IDP_PARAMETERS"},
        {"Checkboxes", [&](auto& g) -> T& { return TCPropertyCheckboxes(g, boxes, "c", 3, "a\nb\nc", false, &i); },
         39, &boxes, &i, "-horizontal entries=a|b|c size=3"},
        {"Check", [&](auto& g) -> T& { return TCPropertyCheck(g, boxes, "c", "on"); }, 39, &boxes, nullptr,
         "entries=on size=1"},
    };
    for (const auto& row : table) {
        TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        T& item = row.build(dialog);
        ASSERT_TRUE(item.IsValid()) << row.name;
        const Item& record = *item.GetImpl();
        EXPECT_EQ(record.GetType(), row.code) << row.name;
        EXPECT_EQ(record.GetVar(), row.var) << row.name;
        EXPECT_EQ(record.GetVarEx(), row.varEx) << row.name;
        EXPECT_EQ(Summary(record), row.summary) << row.name;
        // Linked into the dialog, last.
        ASSERT_EQ(dialog.GetInfo().GetSize(), 1) << row.name;
        EXPECT_EQ(dialog.GetInfo()[0], &record) << row.name;
        TCDestroyPropertyDialog(dialog);
    }
}

TEST(TCPropertyBuilders, BuiltInTextsInBothLanguages)
{
    const struct {
        int language;
        const char* yesNo;
        const char* onOff;
        const char* parameter;
        const char* general;
    } rows[] = {
        {0, "No|Yes", "Off|On", "Parameter source: Internal|External|Database", "General properties"},
        {1, "Nein|Ja", "Aus|Ein", "Parameterquelle: Intern|Extern|Datenbank", "Allgemeine Einstellungen"},
    };
    for (const auto& row : rows) {
        LanguageScope language(row.language);
        int i = 0;
        bool b = false;
        TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        EXPECT_EQ(Join(TCPropertyYesNo(dialog, i, "c").GetImpl()->GetContents()), row.yesNo);
        EXPECT_EQ(Join(TCPropertyYesNo(dialog, b, "c").GetImpl()->GetContents()), row.yesNo);
        EXPECT_EQ(Join(TCPropertyOnOff(dialog, i, "c").GetImpl()->GetContents()), row.onOff);
        const Item& parameter = *TCPropertyParameter(dialog, i).GetImpl();
        EXPECT_EQ(std::string(parameter.GetText()) + ": " + Join(parameter.GetContents()), row.parameter);
        TCCreateSubProperty(dialog, "", false);
        EXPECT_STREQ(dialog.GetInfo()[4]->GetText(), row.general);
        TCDestroyPropertyDialog(dialog);
    }
}

// Until the language is set it follows LC_MESSAGES or LANG: a process of its own.
TEST(TCPropertyBuilders, BuiltInTextsFollowTheLocale)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto german = [](const char* messages, const char* lang) {
        unsetenv("LC_ALL");
        messages ? setenv("LC_MESSAGES", messages, 1) : unsetenv("LC_MESSAGES");
        lang ? setenv("LANG", lang, 1) : unsetenv("LANG");
        int i = 0;
        TCPropertyDialog& dialog = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        const bool answer = Join(TCPropertyYesNo(dialog, i, "c").GetImpl()->GetContents()) == "Nein|Ja";
        TCDestroyPropertyDialog(dialog);
        return answer;
    };
    EXPECT_EXIT(std::exit(german("de_DE.UTF-8", "C") && german(nullptr, "de_AT") && !german("C", "de_DE") &&
                                  !german(nullptr, "en_GB")
                              ? 0
                              : 1),
                ::testing::ExitedWithCode(0), "");
}

namespace {
int channels = 4, average = 1, source = 1;
double gain = 0.5;
CString name("out");
TCString unit("mV");
TCFilePath logFile("log.txt");

TCPropertyDialog& GainDialog()
{
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "Gain", "Gain", 0);
    TCPropertyInt(top, channels, "Channels").Min(1).Max(16);
    TCPropertyParameter(top, source);
    TCPropertyDialog& general = TCCreateSubProperty(top, "", false);
    TCPropertyDbl(general, gain, "Gain").Min(-10.0).Max(10.0).SetAdditionalCaption("dB");
    TCPropertyYesNo(general, average, "Average").IsEnabled(TCPropertyDialogIsNotSet, &channels);
    TCPropertyString(general, name, "Name").Min(-3).SetMask("aaa", "", '_').IsPort(PT_INPUT, "from the port");
    TCPropertyFile(general, logFile, "Log file").Max(1000).SetAdditionalFilter("*.txt");
    TCPropertySeparator(top);
    TCPropertyCombo(top, unit, "Unit", "V\nmV\nuV", true).Min(0);
    return top;
}
} // namespace

TEST(TCPropertyBuilders, BuiltDialogsAsText)
{
    const struct {
        int language;
        const char* text;
    } rows[] = {
        {0, "0 3 \"Channels\" value=4 min=1 max=16 flags=range-check enabled=1\n"
            "1 14 \"Parameter source\" value=1 (\"External\") flags=read-only,needs-edit-right,parameter-source enabled=1\n"
            "2 1 \"General properties\" enabled=1\n"
            "2.0 4 \"Gain\" value=0.5 min=-10 max=10 flags=range-check enabled=1\n"
            "2.1 14 \"Average\" value=1 (\"Yes\") flags=read-only callbacks=IsEnabled enabled=0\n"
            "2.2 5 \"Name\" value=\"out\" min=0 flags=range-check enabled=1\n"
            "2.3 33 \"Log file\" value=\".\\\\log.txt\" max=259 flags=range-check enabled=1\n"
            "3 22 \"\" enabled=1\n"
            "4 45 \"Unit\" value=\"mV\" flags=read-only enabled=1\n"},
        {1, "0 3 \"Channels\" value=4 min=1 max=16 flags=range-check enabled=1\n"
            "1 14 \"Parameterquelle\" value=1 (\"Extern\") flags=read-only,needs-edit-right,parameter-source enabled=1\n"
            "2 1 \"Allgemeine Einstellungen\" enabled=1\n"
            "2.0 4 \"Gain\" value=0.5 min=-10 max=10 flags=range-check enabled=1\n"
            "2.1 14 \"Average\" value=1 (\"Ja\") flags=read-only callbacks=IsEnabled enabled=0\n"
            "2.2 5 \"Name\" value=\"out\" min=0 flags=range-check enabled=1\n"
            "2.3 33 \"Log file\" value=\".\\\\log.txt\" max=259 flags=range-check enabled=1\n"
            "3 22 \"\" enabled=1\n"
            "4 45 \"Unit\" value=\"mV\" flags=read-only enabled=1\n"},
    };
    for (const auto& row : rows) {
        LanguageScope language(row.language);
        TCPropertyDialog& dialog = GainDialog();
        EXPECT_STREQ(TCPropertyDialogText(dialog), row.text) << row.language;
        TCDestroyPropertyDialog(dialog);
    }
}
