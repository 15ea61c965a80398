// Resizing is path independent; the packed sizes and value names of the size memory.
#include "corekit80/dialogs/TCResizeable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "corekit80/dialogs/TCDialog.h"
#include "corekit80/dialogs/TCDialogSizeMemoryImpl.h"
#include "corekit80/dialogs/TCResizeableImpl.h"
#include "corekit80/platform/TCHeadlessWindow.h"
#include "corekit80/platform/TCScratchHome_test.h"

namespace {

struct Designed {
    RECT rect;
    double factors[4];
};

// Registers its controls half by id, half by handle, with limits around its designed size.
struct Dialog : TCDialog {
    Dialog(TCHeadlessWindow& window, const std::vector<Designed>& controls) : TCDialog(&window), m_controls(controls) {}
    void OnInitDialog() override
    {
        SetResizeLimits(-100, -100, 1500, 1100);
        for (size_t i = 0; i < m_controls.size(); ++i) {
            const double* f = m_controls[i].factors;
            if (i % 2)
                AddResizeableCtrl(int(i) + 1, f[0], f[1], f[2], f[3], true);
            else
                AddResizeableWnd(GetDlgItemHandle(int(i) + 1), f[0], f[1], f[2], f[3], true);
        }
    }
    HWND GetDlgItemHandle(int id) const { return Impl()->m_dialog->GetDlgItem(id)->GetSafeHwnd(); }
    using TCResizeable::Impl;
    std::vector<Designed> m_controls;
};

TEST(TCResizeable, LayoutDependsOnlyOnTheSizeReached)
{
    TCScratchHome home;
    home.Set("COREKIT80_USER_PROFILE", (home.Root() + "/user.db").c_str());
    std::mt19937 random(20240519);
    const double kFactors[] = {0, 1, 0.5, 0.25, 1.0 / 3, 0.1};
    for (int trial = 0; trial < 20; ++trial) {
        TCHeadlessWindow window("#32770", "Trial", WS_CAPTION | WS_THICKFRAME | WS_VISIBLE, RECT{50, 40, 650, 490});
        std::vector<Designed> controls;
        for (int i = 0; i < 10; ++i) {
            Designed d{};
            const int left = int(random() % 500), top = int(random() % 380);
            d.rect = RECT{left, top, left + 1 + int(random() % 80), top + 1 + int(random() % 40)};
            for (double& f : d.factors)
                f = random() % 3 ? kFactors[random() % 6] : std::uniform_real_distribution<double>(-0.5, 1.5)(random);
            window.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, d.rect, i + 1);
            controls.push_back(d);
        }
        Dialog dialog(window, controls);
        window.Create(&dialog);
        RECT designed;
        window.GetClientRect(&designed);
        RECT laidOut = designed; // the client size of the last restored state
        for (int step = 0; step < 60; ++step) {
            const unsigned op = random() % 10;
            if (op == 0)
                window.Minimise();
            else if (op == 1)
                window.Maximise();
            else if (op == 2)
                window.Restore();
            else
                window.UserResize(int(random() % 1800), int(random() % 1200));
            if (!window.IsIconic() && !window.IsZoomed())
                window.GetClientRect(&laidOut);
            const double dx = laidOut.right - designed.right, dy = laidOut.bottom - designed.bottom;
            for (size_t i = 0; i < controls.size(); ++i) {
                const auto& c = dialog.Impl()->m_controls.at(i);
                const RECT& d = controls[i].rect;
                const double* f = controls[i].factors;
                ASSERT_NEAR(c.left, d.left + f[0] * dx, 1e-9) << trial << "/" << step << "/" << i;
                ASSERT_NEAR(c.top, d.top + f[1] * dy, 1e-9);
                ASSERT_NEAR(c.right, d.right + f[2] * dx, 1e-9);
                ASSERT_NEAR(c.bottom, d.bottom + f[3] * dy, 1e-9);
                RECT placed;
                window.GetDlgItem(int(i) + 1)->GetWindowRect(&placed);
                const int left = int(c.left), top = int(c.top);
                ASSERT_EQ(placed.left, left);
                ASSERT_EQ(placed.top, top);
                ASSERT_EQ(placed.right - left, std::max(0, int(c.right - c.left)));
                ASSERT_EQ(placed.bottom - top, std::max(0, int(c.bottom - c.top)));
            }
        }
    }
}

TEST(TCDialogSizeMemory, PackedSizesAndValueNames)
{
    for (int a = 0; a <= 32000; ++a)
        for (const SIZE s : {SIZE{a, 0}, SIZE{0, a}, SIZE{a, a}, SIZE{a, 32000 - a}, SIZE{32000, (a * 7919) % 32001}}) {
            const uint32_t packed = TCDialogSizeMemory::Pack(s.cx, s.cy);
            const SIZE back = TCDialogSizeMemory::Unpack(packed);
            ASSERT_TRUE(back.cx == s.cx && back.cy == s.cy) << s.cx << "x" << s.cy;
            // Stored as a profile int: the number survives the signed conversion.
            ASSERT_EQ(static_cast<uint32_t>(static_cast<int>(packed)), packed);
        }
    EXPECT_EQ(TCDialogSizeMemory::Pack(400, 300), 300u * 65536 + 400);
    EXPECT_EQ(TCDialogSizeMemory::Pack(-1, -1), 0xFFFFFFFFu);

    const struct {
        const char* caption;
        const char* name;
    } names[] = {{"Filter - Channel 1", "Filter"}, {"Filter", "Filter"}, {"", ""}, {"A - B - C", "A"},
                 {"Filter-Channel", "Filter-Channel"}, {" - Channel", ""}, {"Filter -Channel", "Filter -Channel"}};
    for (const auto& n : names)
        EXPECT_STREQ(TCDialogSizeMemory::ValueName(n.caption), n.name) << n.caption;
}

} // namespace
