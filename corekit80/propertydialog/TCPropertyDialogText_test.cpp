// The text form of dialogs built by hand through the records, against golden lines.
#include <gtest/gtest.h>

#include <cstdio>

#include "corekit80/foundation/TCFilePath.h"
#include "corekit80/foundation/TCResourceLanguage.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/platform/TCControlRecords.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogText.h"

namespace {
using T = TCPropertyDialogInfo;
using Item = TCPropertyDialogInfoImpl;

Item& Add(TCPropertyDialog& dialog, T::Types type, void* var, const char* caption)
{
    return *TCPropertyDialogInfo::Create(dialog, type, var, caption).GetImpl();
}

bool Never() { return false; }
int Zero(const void*, const void*) { return 0; }

struct LanguageScope {
    LanguageScope() : before(TCSetLoadStrResLanguage(0)) {}
    ~LanguageScope() { TCSetLoadStrResLanguage(before < 0 ? 0 : before); }
    int before;
};
} // namespace

TEST(TCPropertyDialogText, NumbersCombosAndSubDialogs)
{
    LanguageScope english;
    int channels = 4, average = 1;
    double gain = 0.5;
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    Item& count = Add(top, T::TYPE_INT, &channels, "Channels");
    count.Lower().Set(1.0);
    count.Upper().Set(16.0);
    count.SetFlag(Item::FLAG_NEEDS_RANGE_CHECK, true);
    TCPropertyDialog& sub = TCCreateSubProperty(top, "", false);
    Item& combo = Add(sub, T::TYPE_INT_COMBO, &average, "Average");
    combo.GetOwnContents().Add("No");
    combo.GetOwnContents().Add("Yes");
    combo.SetFlag(Item::FLAG_READ_ONLY, true);
    combo.GetIsEnabledSlot().Set(Never);
    Add(sub, T::TYPE_DBL, &gain, "Gain");
    EXPECT_STREQ(TCPropertyDialogText(top),
                 "0 3 \"Channels\" value=4 min=1 max=16 flags=range-check enabled=1\n"
                 "1 1 \"General properties\" enabled=1\n"
                 "1.0 14 \"Average\" value=1 (\"Yes\") flags=read-only callbacks=IsEnabled enabled=0\n"
                 "1.1 4 \"Gain\" value=0.5 enabled=1\n");
    EXPECT_STREQ(TCPropertyDialogText(TCPropertyDialog::GetDummy()), "");
    TCDestroyPropertyDialog(top);
}

TEST(TCPropertyDialogText, EveryKindOfValue)
{
    LanguageScope english;
    CString text("say \"hi\"\n\tback\\slash\x01");
    CString password("secret");
    TCString empty;
    TCString tcText("caf\xc3\xa9");
    TCTranslatedString translated("Hello");
    unsigned long colour = 0x00ff8000ul;
    unsigned int big = 4000000000u;
    bool on = true;
    long seconds = -3600;
    int bound = 42, index = 7, sel = 0;
    TCString second("other");
    TCFilePath file("data\\x.txt");
    HICON icon = TCLoadIcon(nullptr, 300);
    LOGFONTA font{};
    font.lfHeight = -12;
    font.lfWeight = 700;
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "Sans");
    SYSTEMTIME when{2026, 12, 0, 6, 5, 4, 3, 21};
    TCKeyboardHook_KEY key{0x41, 3};
    TCArray<CStringArray> rows;
    rows.SetSize(2);
    double third = 1.0 / 3.0;

    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    Add(top, T::TYPE_STRING, &text, "Text").SetFlag(Item::FLAG_HORIZONTAL, false);
    Add(top, T::TYPE_PASSWORD, &password, "Password");
    Add(top, T::TYPE_TCSTRING_PASSWORD, &empty, "Empty password");
    Add(top, T::TYPE_TCSTRING, &tcText, "UTF-8");
    Add(top, T::TYPE_TRANSLATED_STRING, &translated, "Translated");
    Add(top, T::TYPE_COLOR, &colour, "Colour");
    Add(top, T::TYPE_UINT, &big, "Unsigned").Lower().Set(&bound);
    Add(top, T::TYPE_BOOL_COMBO, &on, "Bool");
    Add(top, T::TYPE_SECONDS, &seconds, "Seconds");
    Item& withText = Add(top, T::TYPE_INT_TCSTRING_COMBO, &index, "Out of range");
    withText.SetVarEx(&second);
    withText.GetButtonClicked().fn = Zero;
    Add(top, T::TYPE_ICON, &file, "Icon").SetVarEx(&icon);
    Add(top, T::TYPE_FONT, &font, "Font");
    Add(top, T::TYPE_SYSTEMTIME, &when, "When");
    Add(top, T::TYPE_HOTKEY, &key, "Key");
    Add(top, T::TYPE_LIST_CTRL, &rows, "Rows");
    Add(top, T::TYPE_SPIN_DBL, &third, "Third");
    Add(top, T::TYPE_SEPARATOR, nullptr, "");
    TCPropertyDialog& in = TCCreateInplaceProperty(top, "In");
    TCPropertyDialog& chained = TCCreateInplaceProperty(in, "Chained");
    Add(chained, T::TYPE_CHECKBOXES, &sel, "Boxes");
    TCPropertyDialog& gone = TCCreateSubProperty(top, "Gone", true);
    TCDestroyPropertyDialog(gone);
    EXPECT_STREQ(TCPropertyDialogText(top),
                 "0 5 \"Text\" value=\"say \\\"hi\\\"\\n\\tback\\\\slash\\x01\" flags=-horizontal enabled=1\n"
                 "1 7 \"Password\" value=(set) enabled=1\n"
                 "2 44 \"Empty password\" value=(empty) enabled=1\n"
                 "3 24 \"UTF-8\" value=\"caf\xc3\xa9\" enabled=1\n"
                 "4 36 \"Translated\" value=\"Hello\" enabled=1\n"
                 "5 11 \"Colour\" value=0x00ff8000 enabled=1\n"
                 "6 48 \"Unsigned\" value=4000000000 min=@42 enabled=1\n"
                 "7 49 \"Bool\" value=true enabled=1\n"
                 "8 35 \"Seconds\" value=-3600 enabled=1\n"
                 "9 25 \"Out of range\" value=7 \"other\" callbacks=ButtonClicked enabled=1\n"
                 "10 51 \"Icon\" value=\".\\\\data\\\\x.txt\" #300 enabled=1\n"
                 "11 9 \"Font\" value=\"Sans\" -12 700 enabled=1\n"
                 "12 32 \"When\" value=2026-12-06 05:04:03.021 enabled=1\n"
                 "13 37 \"Key\" value=0x41+0x3 enabled=1\n"
                 "14 27 \"Rows\" value=2 rows enabled=1\n"
                 "15 26 \"Third\" value=0.3333333333333333 enabled=1\n"
                 "16 22 \"\" enabled=1\n"
                 "17 2 \"In\" enabled=1\n"
                 "17.0 2 \"Chained\" enabled=1\n"
                 "17.0.0 39 \"Boxes\" value=0 enabled=1\n"
                 "18 1 \"Gone\" flags=new-caption enabled=1\n");
    TCDestroyPropertyDialog(top);
    TCDestroyIcon(icon);
}
