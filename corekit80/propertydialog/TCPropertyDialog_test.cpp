// Dialog creation, showing and destruction, the modifiers' reach, callback slots, bounds
// and the messages kept in the top-level dialog.
#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

#include "corekit80/foundation/TCResourceLanguage.h"
#include "corekit80/platform/CWnd.h"
#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"

namespace {
using Item = TCPropertyDialogInfoImpl;

struct RecordingHost : TCHostWindow {
    long Send(unsigned message, unsigned long wParam, long lParam) override
    {
        calls.push_back({message, wParam, lParam});
        return 1;
    }
    struct Call {
        unsigned message;
        unsigned long wParam;
        long lParam;
    };
    std::vector<Call> calls;
};

int Zero() { return 0; }
int Sum2(const void* a, const void* b) { return *static_cast<const int*>(a) + *static_cast<const int*>(b); }
bool Yes() { return true; }
} // namespace

TEST(TCPropertyDialog, ModifiersReachTheirDialogOrItem)
{
    struct Row {
        const char* name;
        std::function<void(TCPropertyDialog&)> apply;
        std::function<bool(const TCPropertyDialogImpl&)> dialogChanged;
        std::function<bool(const Item&)> itemChanged;
        bool onTop, onSubDialog, onSubItem;
    };
    auto flag = [](Item::Flag f) { return [f](const Item& i) { return i.GetFlag(f) != Item::GetDefaultFlag(f); }; };
    auto never = [](const auto&) { return false; };
    const Row rows[] = {
        {"SetSize", [](TCPropertyDialog& d) { d.SetSize(-5, 40); },
         [](const TCPropertyDialogImpl& r) { return r.GetWidth() == 0 && r.GetHeight() == 40; }, never, true, false, false},
        {"UndisplayTree", [](TCPropertyDialog& d) { d.UndisplayTree(true); },
         [](const TCPropertyDialogImpl& r) { return r.GetUndisplayTree() == 1; }, never, true, false, false},
        {"DisableAutomaticBackup", [](TCPropertyDialog& d) { d.DisableAutomaticBackup(); },
         [](const TCPropertyDialogImpl& r) { return r.GetDisableAutomaticBackup(); }, never, true, false, false},
        {"ClearStatusField", [](TCPropertyDialog& d) { d.ClearStatusField(); },
         [](const TCPropertyDialogImpl& r) { return r.GetClearStatusField(); }, never, true, false, false},
        {"SetDefaultSettingsName", [](TCPropertyDialog& d) { d.SetDefaultSettingsName("N"); },
         [](const TCPropertyDialogImpl& r) { return r.GetDefaultSettingsName() == "N"; }, never, true, false, false},
        {"OKCallback", [](TCPropertyDialog& d) { d.OKCallback(Zero); },
         [](const TCPropertyDialogImpl& r) { return r.GetOKCallbackSlot().GetArgCount() == 0; }, never, true, false, false},
        {"NeedsEditRight", [](TCPropertyDialog& d) { d.NeedsEditRight(); },
         [](const TCPropertyDialogImpl& r) { return r.GetNeedsEditRight(); }, flag(Item::FLAG_NEEDS_EDIT_RIGHT), true, false, true},
        {"ShowStatusField", [](TCPropertyDialog& d) { d.ShowStatusField(); },
         [](const TCPropertyDialogImpl& r) { return r.GetShowStatusField(); }, flag(Item::FLAG_HAS_STATUS_FIELD), true, false, true},
        {"Callback", [](TCPropertyDialog& d) { d.Callback(Zero); },
         [](const TCPropertyDialogImpl& r) { return r.GetCallbackSlot().HasCallback() != nullptr; },
         [](const Item& i) { return i.GetCallbackSlot().GetCallback0() == &Zero; }, false, false, true},
        {"IsEnabled", [](TCPropertyDialog& d) { d.IsEnabled(Yes); }, never,
         [](const Item& i) { return i.GetIsEnabledSlot().GetArgCount() == 0; }, false, false, true},
        {"Min", [](TCPropertyDialog& d) { d.Min(3); }, never,
         [](const Item& i) { return i.GetLowerValue() == 3 && i.GetNeedsRangeCheck(); }, false, false, true},
        {"Max", [](TCPropertyDialog& d) { d.Max(-3); }, never,
         [](const Item& i) { return i.GetUpperValue() == -3 && i.GetNeedsRangeCheck(); }, false, false, true},
        {"BeginGroup", [](TCPropertyDialog& d) { d.BeginGroup(); }, never, flag(Item::FLAG_BEGIN_GROUP), false, false, true},
        {"Movable", [](TCPropertyDialog& d) { d.Movable(); }, never, flag(Item::FLAG_MOVABLE), false, false, true},
        {"MarkDisabled", [](TCPropertyDialog& d) { d.MarkDisabled(); }, never, flag(Item::FLAG_MARK_DISABLED), false, false, true},
        {"Delete", [](TCPropertyDialog& d) { d.Delete(); }, never, flag(Item::FLAG_DELETE), false, false, true},
        {"URL", [](TCPropertyDialog& d) { d.URL("  u \t"); },
         [](const TCPropertyDialogImpl& r) { return r.GetURL() == "u"; }, [](const Item& i) { return i.GetURL() == "u"; },
         true, true, true},
        {"Anchor", [](TCPropertyDialog& d) { d.Anchor(" a "); },
         [](const TCPropertyDialogImpl& r) { return r.GetAnchor() == "a"; }, [](const Item& i) { return i.GetAnchor() == "a"; },
         true, true, true},
        {"UserHelpText", [](TCPropertyDialog& d) { d.UserHelpText(" h "); },
         [](const TCPropertyDialogImpl& r) { return r.GetUserHelpText() == "h"; }, never, true, true, false},
        {"IsInitialCallback", [](TCPropertyDialog& d) { d.IsInitialCallback(); },
         [](const TCPropertyDialogImpl& r) { return r.GetIsInitialCallback(); }, never, true, true, false},
    };
    for (const Row& row : rows) {
        TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        TCPropertyDialog& sub = TCCreateSubProperty(top, "Sub", false);
        row.apply(TCPropertyDialog::GetDummy());
        row.apply(sub);
        EXPECT_EQ(row.dialogChanged(*top.GetImpl()), false) << row.name << " on a sub-dialog reached its parent";
        EXPECT_EQ(row.dialogChanged(*sub.GetImpl()), row.onSubDialog) << row.name;
        EXPECT_EQ(row.itemChanged(*top.GetInfo()[0]), row.onSubItem) << row.name;
        row.apply(top);
        EXPECT_EQ(row.dialogChanged(*top.GetImpl()), row.onTop) << row.name;
        TCDestroyPropertyDialog(top);
    }
}

TEST(TCPropertyDialog, CallbackSlotFollowsTheCount)
{
    const int a = 2, b = 3;
    for (int n = 0; n <= 4; ++n) {
        TCPropertyCallbackSlot<int> slot;
        EXPECT_EQ(slot.GetArgCount(), -1);
        EXPECT_EQ(slot.Call(-7), -7);
        switch (n) {
        case 0: slot.Set(Zero); break;
        case 1: slot.Set(+[](const void* x) { return *static_cast<const int*>(x); }, &a); break;
        case 2: slot.Set(Sum2, &a, &b); break;
        case 3: slot.Set(+[](const void*, const void*, const void* z) { return *static_cast<const int*>(z); }, &a, &a, &b); break;
        default: slot.Set(+[](const void*, const void*, const void*, const void*) { return 9; }, &a, &a, &a, &b);
        }
        const bool fn[] = {slot.GetCallback0() != nullptr, slot.GetCallback1() != nullptr, slot.GetCallback2() != nullptr,
                           slot.GetCallback3() != nullptr, slot.GetCallback4() != nullptr};
        const bool arg[] = {slot.GetCBArg1() != nullptr, slot.GetCBArg2() != nullptr, slot.GetCBArg3() != nullptr,
                            slot.GetCBArg4() != nullptr};
        for (int k = 0; k <= 4; ++k)
            EXPECT_EQ(fn[k], k == n) << n << " args, getter " << k;
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(arg[k - 1], k <= n) << n << " args, argument " << k;
        EXPECT_NE(slot.HasCallback(), nullptr);
        const int results[] = {0, 2, 5, 3, 9};
        EXPECT_EQ(slot.Call(-7), results[n]);
    }
}

TEST(TCPropertyDialog, CreationAndLinks)
{
    const int before = TCSetLoadStrResLanguage(0);
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "Module", "Default", 101u);
    ASSERT_TRUE(top.IsValid());
    EXPECT_EQ(top.GetImpl()->GetIcon()->resourceId, 101u);
    EXPECT_EQ(top.GetImpl()->GetVersion(), 25);
    EXPECT_EQ(top.GetImpl()->GetUndisplayTree(), -1);
    EXPECT_EQ(top.GetIndex(), -1);

    TCPropertyDialog& sub = TCCreateSubProperty(top, "", true);
    EXPECT_STREQ(top.GetInfo()[0]->GetText(), "General properties");
    EXPECT_TRUE(top.GetInfo()[0]->GetIsNewCaption());
    EXPECT_EQ(sub.GetParent(), &top);
    EXPECT_EQ(sub.GetImpl()->GetParentImpl(), top.GetImpl());
    EXPECT_EQ(sub.GetIndex(), 0);
    TCSetLoadStrResLanguage(1);
    TCCreateSubProperty(top, nullptr, false);
    EXPECT_STREQ(top.GetInfo()[1]->GetText(), "Allgemeine Einstellungen");
    TCSetLoadStrResLanguage(before < 0 ? 0 : before);

    // Items of a sub-dialog link to the item that stands for it; in-place dialogs chain,
    // but take no ordinary sub-dialog.
    TCPropertyDialog& inplace = TCCreateInplaceProperty(sub, "In");
    TCPropertyDialog& chained = TCCreateInplaceProperty(inplace, "In2");
    int v = 0;
    TCPropertyDialogInfo& item = TCPropertyDialogInfo::Create(chained, TCPropertyDialogInfo::TYPE_INT, &v, "v");
    EXPECT_EQ(item.GetImpl()->GetParent(), inplace.GetInfo()[0]);
    EXPECT_EQ(inplace.GetInfo()[0]->GetParent(), sub.GetInfo()[0]);
    EXPECT_EQ(chained.GetImpl()->GetType(), TCPropertyDialogInfo::TYPE_INPLACE);
    EXPECT_EQ(&TCCreateSubProperty(inplace, "x", false), &TCPropertyDialog::GetDummy());
    EXPECT_EQ(inplace.GetInfo().GetSize(), 1);

    TCPropertyDialog& both = TCCreateSubInplaceProperty(top, "Both");
    const Item* outer = top.GetInfo()[2];
    EXPECT_EQ(outer->GetType(), TCPropertyDialogInfo::TYPE_SUBDIALOG);
    EXPECT_TRUE(outer->GetIsNewCaption());
    EXPECT_EQ(both.GetParent(), outer->GetSubDialog());
    EXPECT_STREQ(both.GetParent()->GetInfo()[0]->GetText(), "Both");

    // A dialog cannot be put below itself.
    top.SetParent(&chained);
    sub.SetParent(&sub);
    EXPECT_TRUE(top.GetImpl()->IsTopLevel());
    EXPECT_EQ(sub.GetParent(), &top);

    // The empty handle takes nothing and destroying it does nothing.
    TCPropertyDialog& dummy = TCPropertyDialog::GetDummy();
    EXPECT_FALSE(dummy.IsValid());
    EXPECT_EQ(dummy.Add(&item), -1);
    EXPECT_EQ(top.Add(&TCPropertyDialogInfo::GetDummy()), -1);
    TCPropertyDialogIterator it;
    EXPECT_EQ(dummy.GetNext(it), nullptr);
    TCDestroyPropertyDialog(dummy);
    EXPECT_EQ(&TCCreateInplaceProperty(dummy, "x"), &dummy);
    TCDestroyPropertyDialog(top);
}

TEST(TCPropertyDialog, ShowGoesToTheHostWindow)
{
    TCHostWindow* before = TCGetHostWindow();
    TCSetHostWindow(nullptr);
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    TCPropertyDialog& sub = TCCreateSubProperty(top, "S", false);
    EXPECT_EQ(TCShowPropertyDialog(top, 5), 2) << "no host window";
    RecordingHost host;
    TCSetHostWindow(&host);
    EXPECT_EQ(TCShowPropertyDialog(sub, 5), 2);
    EXPECT_EQ(TCShowPropertyDialog(TCPropertyDialog::GetDummy(), 5), 2);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(TCShowPropertyDialog(top, 5), 1);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].message, 36001u);
    EXPECT_EQ(host.calls[0].wParam, 1u);
    EXPECT_EQ(host.calls[0].lParam, reinterpret_cast<long>(&top));
    EXPECT_EQ(top.GetImpl()->GetFlags(), 5);
    TCSetHostWindow(before);
    TCDestroyPropertyDialog(top);

    const struct {
        int flags, use;
    } uses[] = {{0x1000, 1}, {0x0FFF, 0}, {0x3000, 1}, {-1, 1}, {0, 0}};
    for (const auto& row : uses)
        EXPECT_EQ(TCUsePropertyDialog(row.flags), row.use) << row.flags;
}

TEST(TCPropertyDialog, MessagesAndMarksGoToTheTopLevelDialog)
{
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    TCPropertyDialog& sub = TCCreateSubProperty(top, "S", false);
    TCPropertyDialog& inner = TCCreateInplaceProperty(sub, "I");
    TCPropertyDialogImpl& main = *top.GetImpl();
    TCPropertyDialogSetErrorMessage(inner, "E", "bad");
    TCPropertyDialogSetInfoMessage(sub, "I", "note");
    TCPropertyDialogSetStatusText(inner, "C", "status");
    TCPropertyDialogClearStatusField(inner);
    EXPECT_TRUE(main.GetErrorMessage().isSet);
    EXPECT_EQ(main.GetErrorMessage().icon->resourceId, uint32_t(IDI_HAND));
    EXPECT_EQ(main.GetInfoMessage().icon->resourceId, uint32_t(IDI_ASTERISK));
    EXPECT_STREQ(main.GetStatusText().message, "status");
    EXPECT_TRUE(main.GetClearStatusField());
    EXPECT_FALSE(sub.GetImpl()->GetErrorMessage().isSet);

    const struct {
        const char* name;
        const char* line;
        int number; // used when line is null
        const char* stored;
    } marks[] = {{"ed", "12", 0, "12"}, {"", "3", 0, ""}, {"ed", "", 0, ""}, {"ed", nullptr, 0, ""},
                 {"ed", nullptr, -1, "-1"}, {"ed", nullptr, -2, ""}, {"ed", nullptr, 7, "7"}};
    for (const auto& row : marks) {
        main.SetEditorMark("", "");
        if (row.line)
            TCPropertyEditorMarkLine(inner, row.name, row.line);
        else
            TCPropertyEditorMarkLine(inner, row.name, row.number);
        EXPECT_STREQ(main.GetEditorLines(), row.stored) << row.name << " " << row.number;
        EXPECT_STREQ(main.GetEditorName(), *row.stored ? row.name : "");
    }
    TCDestroyPropertyDialog(top);
}

TEST(TCPropertyDialog, BoundsReadWhereTheyLive)
{
    int callerInt = 7;
    double callerDbl = 2.5;
    const struct {
        TCPropertyDialogInfo::Types type;
        std::function<void(Item&)> set;
        double lower, upper;
        const void* lowerAt;
    } rows[] = {
        {TCPropertyDialogInfo::TYPE_INT, [](Item&) {}, -2147483648.0, 2147483647.0, nullptr},
        {TCPropertyDialogInfo::TYPE_UINT, [](Item&) {}, 0.0, 4294967295.0, nullptr},
        {TCPropertyDialogInfo::TYPE_SPIN_DBL, [](Item&) {}, -DBL_MAX, DBL_MAX, nullptr},
        {TCPropertyDialogInfo::TYPE_INT, [&](Item& i) { i.Lower().Set(&callerInt); }, 7, 2147483647.0, &callerInt},
        {TCPropertyDialogInfo::TYPE_DBL, [&](Item& i) { i.Lower().Set(&callerDbl); i.Upper().Set(9.0); }, 2.5, 9.0, &callerDbl},
        {TCPropertyDialogInfo::TYPE_DBL, [](Item& i) { i.Lower().Set(static_cast<const double*>(nullptr)); }, 0.0, DBL_MAX, nullptr},
    };
    for (const auto& row : rows) {
        Item item(row.type, nullptr, "x");
        row.set(item);
        EXPECT_EQ(item.GetLowerValue(), row.lower);
        EXPECT_EQ(item.GetUpperValue(), row.upper);
        if (row.lowerAt) {
            EXPECT_EQ(item.GetLowerBound(), row.lowerAt);
        }
    }
    Item item(TCPropertyDialogInfo::TYPE_INT, nullptr, "x");
    EXPECT_EQ(item.GetLowerBound(), nullptr);
    item.Lower().Set(&callerInt);
    item.Lower().Write(-4.0);
    EXPECT_EQ(callerInt, -4) << "a bound in the module's variable is written there";
}
