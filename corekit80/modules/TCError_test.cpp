// Errors and balloon tips as the host's main window receives them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCShowBalloon.h"
#include "corekit80/platform/CWnd.h"
#include "corekit80/platform/TCHostWindow.h"

namespace {

// Records every message as text: its numbers and the record's words.
struct Host : TCHostWindow {
    long Send(unsigned message, unsigned long wParam, long lParam) override
    {
        std::ostringstream out;
        out << message << "/" << wParam << ":";
        if (wParam == TCERROR_RECORD::REQUEST) {
            const auto* r = reinterpret_cast<const TCERROR_RECORD*>(lParam);
            out << " " << r->module << " | " << r->text << " | " << r->type << " " << r->one << " "
                << (r->parent == expectedParent ? "parent" : r->parent ? "other" : "none");
        } else if (wParam == TCBALLOON_RECORD::REQUEST) {
            const auto* r = reinterpret_cast<const TCBALLOON_RECORD*>(lParam);
            out << " " << r->one << " " << reinterpret_cast<long>(r->parent) << " " << r->x << "," << r->y << " "
                << r->zero << " " << r->reserved5 << " " << (r->title ? r->title : "(null)") << " "
                << r->reserved7 << " " << r->icon << " " << (r->text ? r->text : "(null)");
            for (int32_t w : r->reserved10)
                out << " " << w;
        }
        received.push_back(out.str());
        return 0;
    }
    CWnd* GetMainWnd() const override { return main; }
    std::vector<std::string> received;
    const CWnd* expectedParent = nullptr;
    CWnd* main = nullptr;
};

// A dialog with one control, id 7.
struct Window : CWnd {
    Window(long handle, RECT client) : handle(handle), client(client) {}
    HWND GetSafeHwnd() const override { return reinterpret_cast<HWND>(handle); }
    CWnd* GetDlgItem(int id) const override { return id == 7 ? control : nullptr; }
    bool GetClientRect(RECT* rect) const override
    {
        *rect = client;
        return true;
    }
    bool GetWindowPlacement(WINDOWPLACEMENT* p) const override
    {
        p->rcNormalPosition = client;
        return true;
    }
    long handle;
    RECT client;
    CWnd* control = nullptr;
};

struct Installed {
    explicit Installed(Host& h) { TCSetHostWindow(&h); }
    ~Installed() { TCSetHostWindow(nullptr); }
};

TEST(TCError, TheHostWindowReceivesTheRecord)
{
    Host host;
    Installed installed(host);
    CWnd parent;
    host.expectedParent = &parent;
    EXPECT_EQ(TCError("Filter", "No input", 102, &parent), -2);
    EXPECT_EQ(TCError("Filter", "Bad", 7), -2);
    EXPECT_EQ(TCError("FFT2", "Plain"), -2);
    EXPECT_EQ(TCError("M", "", 0, &parent), -2);
    const std::vector<std::string> golden = {
        "40009/11: Filter | No input | 102 1 parent",
        "40009/11: Filter | Bad | 101 1 none",
        "40009/11: FFT2 | Plain | 101 1 none",
        "40009/11: M |  | 101 1 parent",
    };
    EXPECT_EQ(host.received, golden);
}

TEST(TCShowBalloon, TheRecordPointsAtTheControlOrTheClientArea)
{
    Host host;
    Installed installed(host);
    Window control(0, RECT{10, 20, 31, 41});
    Window dialog(0x1234, RECT{0, 0, 300, 101});
    dialog.control = &control;
    Window main(0x99, RECT{-13, 4, 10, 30});
    TCShowBalloon(&dialog, 7, "Title", "Text");
    TCShowBalloon(&dialog, 8, "T", nullptr);
    TCShowBalloon(nullptr, 7, "None", "Main");  // the host exposes no main window
    host.main = &main;
    TCShowBalloon(nullptr, 3, "On", "Main");
    CWnd bare;
    TCShowBalloon(&bare, 7, "Bare", "x");
    const std::vector<std::string> golden = {
        "40009/8: 1 4660 20,30 0 0 Title 0 1 Text 0 0 0 0",
        "40009/8: 1 4660 150,50 0 0 T 0 1 (null) 0 0 0 0",
        "40009/8: 1 0 0,0 0 0 None 0 1 Main 0 0 0 0",
        "40009/8: 1 153 -1,17 0 0 On 0 1 Main 0 0 0 0",
        "40009/8: 1 0 0,0 0 0 Bare 0 1 x 0 0 0 0",
    };
    EXPECT_EQ(host.received, golden);
}

}  // namespace
