// Dialog resizing as a module dialog sees it: size memory in the profile, layout, limits, erasing, icon.
#include "corekit80/dialogs/TCDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "corekit80/foundation/TCProfile.h"
#include "corekit80/platform/TCHeadlessWindow.h"
#include "corekit80/platform/TCScratchHome_test.h"

namespace {

constexpr const char* kSection = "Module dialog size\\";
constexpr unsigned long kResizable = WS_CAPTION | WS_THICKFRAME | WS_VISIBLE;
const RECT kDesigned{100, 100, 500, 400};

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string RectOf(const CWnd* window)
{
    RECT r{};
    return window && window->GetWindowRect(&r) ? Text(r) : "none";
}

// A dialog with a control that follows the lower right corner (id 1) and one that
// stretches with it (id 2).
struct Window : TCHeadlessWindow {
    Window(const char* caption, unsigned long style) : TCHeadlessWindow("#32770", caption, style, kDesigned)
    {
        AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 30}, 1);
        AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{60, 10, 100, 30}, 2);
    }
};

struct Dialog : TCDialog {
    using TCDialog::TCDialog;
    void OnInitDialog() override
    {
        AddResizeableCtrl(1, 1, 1, 1, 1, true);
        AddResizeableCtrl(2, 0, 0, 1, 1, true);
    }
};

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { m_home.Set("COREKIT80_USER_PROFILE", (m_home.Root() + "/user.db").c_str()); }
    TCScratchHome m_home;
};

int Packed(int width, int height) { return static_cast<int>((static_cast<uint32_t>(height) << 16) | width); }

TEST_F(ProfileTest, SizesAreRememberedByCaption)
{
    const struct {
        const char* name;
        const char* caption;
        unsigned long style;
        std::function<void(TCHeadlessWindow&)> use;
        const char* valueName;
        int stored; // the number under valueName afterwards; -1 none
        const char* reopened; // the caption opened next
        const char* controls; // its controls' rectangles after opening
    } rows[] = {
        {"a caption's part before \" - \"", "Filter - Channel 1", kResizable, [](auto& w) { w.UserResize(450, 350); },
         "Filter", Packed(450, 350), "Filter - Channel 2", "60,60,100,80 60,10,150,80"},
        {"minimised: the normal size", "Mini", kResizable,
         [](auto& w) {
             w.UserResize(450, 350);
             w.Minimise();
         },
         "Mini", Packed(450, 350), "Mini", "60,60,100,80 60,10,150,80"},
        {"maximised: the normal size", "Maxi", kResizable,
         [](auto& w) {
             w.UserResize(450, 320);
             w.Maximise();
         },
         "Maxi", Packed(450, 320), "Maxi", "60,30,100,50 60,10,150,50"},
        {"an empty caption", "", kResizable, [](auto& w) { w.UserResize(420, 310); }, "", Packed(420, 310), "",
         "30,20,70,40 60,10,120,40"},
        {"no sizing border", "Plain", WS_CAPTION | WS_VISIBLE, [](auto& w) { w.MoveWindow(0, 0, 450, 350, true); },
         "Plain", -1, "Plain", "10,10,50,30 60,10,100,30"},
    };
    SaveUserProfileInt(kSection, "Other", Packed(700, 500));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        {
            Window window(row.caption, row.style);
            Dialog dialog(&window);
            window.Create(&dialog);
            row.use(window);
            window.Destroy();
        }
        EXPECT_EQ(LoadUserProfileInt(kSection, row.valueName, -1), row.stored);
        // A remembered size other than the designed one lays the controls out at once.
        if (row.stored == -1)
            SaveUserProfileInt(kSection, row.valueName, Packed(450, 350));
        Window window(row.reopened, row.style);
        Dialog dialog(&window);
        window.Create(&dialog);
        EXPECT_EQ(RectOf(window.GetDlgItem(1)) + " " + RectOf(window.GetDlgItem(2)), row.controls);
    }
    EXPECT_EQ(LoadUserProfileInt(kSection, "Other", 0), Packed(700, 500));
}

TEST(TCResizeable, LayoutLimitsErasingAndIcon)
{
    TCHeadlessWindow window("#32770", "Layout", kResizable, kDesigned);
    window.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 30}, 1);
    window.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{60, 10, 100, 30}, 2);
    window.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{10, 40, 20, 50}, 3);
    window.AddChild("Button", "Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, RECT{0, 0, 200, 100}, 4);
    window.AddChild("Button", "OK", WS_CHILD | WS_VISIBLE, RECT{300, 200, 370, 220}, 5);
    window.AddChild("Static", "", WS_CHILD | WS_VISIBLE, RECT{5, 150, 95, 170}, 6);
    window.AddChild("Edit", "", WS_CHILD, RECT{5, 180, 95, 190}, 7);
    TCHeadlessWindow stranger("#32770", "Other", kResizable, kDesigned);
    {
        TCDialog dialog(&window);
        dialog.AddResizeableCtrl(1, 1, 1, 1, 1, true);
        dialog.AddResizeableWnd(window.GetDlgItem(2)->GetSafeHwnd(), 0, 0, 1, 1, true);
        dialog.AddResizeableCtrl(3, 0.5, 0, 0.5, 0, true);
        dialog.AddResizeableCtrl(99, 1, 1, 1, 1, true);
        dialog.AddResizeableWnd(stranger.GetSafeHwnd(), 1, 1, 1, 1, true);

        // The first size is recorded only; growing 300 x 200 to 400 x 260 moves and stretches.
        dialog.Resize(300, 200);
        EXPECT_TRUE(window.Invalidations().empty());
        dialog.Resize(400, 260);
        EXPECT_EQ(RectOf(window.GetDlgItem(1)) + " " + RectOf(window.GetDlgItem(2)), "110,70,150,90 60,10,200,90");
        ASSERT_EQ(window.Invalidations().size(), 1u);
        EXPECT_TRUE(window.Invalidations()[0].erase);
        EXPECT_TRUE(static_cast<TCHeadlessWindow*>(window.GetDlgItem(1))->Invalidations().empty());
        EXPECT_EQ(RectOf(&stranger), Text(kDesigned));
        // Half-pixel moves add up: the centred control is 50 further after +100, 51 after +1 +1.
        dialog.Resize(401, 260);
        dialog.Resize(402, 260);
        EXPECT_EQ(RectOf(window.GetDlgItem(3)), "61,40,71,50");
        // Nothing moves while minimised, nor does the last size change.
        window.Minimise();
        dialog.Resize(900, 900);
        window.Restore();
        dialog.Resize(402, 260);
        EXPECT_EQ(RectOf(window.GetDlgItem(3)), "61,40,71,50");
        // Forgotten controls stay; the next size is recorded only.
        dialog.ClearResizeable();
        dialog.Resize(500, 500);
        dialog.Resize(600, 600);
        EXPECT_EQ(RectOf(window.GetDlgItem(1)), "112,70,152,90");

        // Limits of 0 hold the dialog at its current size; below 1 counts from it, 1 and
        // more are sizes.
        window.Create(&dialog);
        dialog.AddResizeableCtrl(6, 0, 0, 0, 0, false);
        dialog.SetResizeLimits(0, 0, 0, 0);
        EXPECT_EQ(window.UserResize(900, 100).cx, 400);
        EXPECT_EQ(window.UserResize(900, 100).cy, 300);
        dialog.SetResizeLimits(-50, -20, 420, 1);
        const SIZE small = window.UserResize(10, 10);
        EXPECT_EQ(std::to_string(small.cx) + "x" + std::to_string(small.cy), "350x280");
        const SIZE large = window.UserResize(900, 900);
        EXPECT_EQ(std::to_string(large.cx) + "x" + std::to_string(large.cy), "420x280");

        // Erasing leaves out every visible child but the group box and the control
        // registered as painted over.
        window.Invalidate(true);
        HDC__ dc;
        ASSERT_TRUE(window.Paint(&dc));
        std::string excluded;
        for (const RECT& r : dc.excluded)
            excluded += Text(r) + " ";
        EXPECT_EQ(excluded, RectOf(window.GetDlgItem(1)) + " " + RectOf(window.GetDlgItem(2)) + " " +
                                RectOf(window.GetDlgItem(3)) + " 300,200,370,220 ");

        dialog.SetWndCaptionIcon(101);
        ASSERT_NE(window.GetIcon(true), nullptr);
        EXPECT_EQ(window.GetIcon(true)->resourceId, 101u);
        EXPECT_EQ(window.GetIcon(false), window.GetIcon(true));
    }
    // The icon went with the dialog class.
    EXPECT_EQ(window.GetIcon(true), nullptr);

    // Without a sizing border nothing is left out of erasing.
    TCHeadlessWindow plain("#32770", "Plain", WS_CAPTION | WS_VISIBLE, kDesigned);
    plain.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 30}, 1);
    Dialog dialog(&plain);
    plain.Create(&dialog);
    plain.Invalidate(true);
    HDC__ dc;
    ASSERT_TRUE(plain.Paint(&dc));
    EXPECT_TRUE(dc.excluded.empty());
    // No dialog window: every call is harmless.
    TCResizeable none(nullptr);
    none.AddResizeableCtrl(1, 1, 1, 1, 1, true);
    none.SetResizeLimits(0, 0, 0, 0);
    none.SetWndCaptionIcon(101);
    none.Resize(10, 10);
    none.Resize(20, 20);
}

} // namespace
