// The headless window's rules: sizes and states with their notifications, placement, painting, the tree.
#include "corekit80/platform/TCHeadlessWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Logs every message; answers the tracking limits 200 x 150 to 600 x 500 and excludes
// one rectangle from erasing.
struct Recorder : TCWindowHandler {
    long OnMessage(CWnd*, unsigned message, unsigned long wParam, long lParam) override
    {
        std::string entry;
        if (message == WM_SIZE)
            entry = "SIZE " + std::to_string(wParam) + " " + std::to_string(TCSizeParamWidth(lParam)) + "x" +
                    std::to_string(TCSizeParamHeight(lParam));
        else if (message == WM_GETMINMAXINFO) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{200, 150};
            limits->ptMaxTrackSize = POINT{600, 500};
            entry = "LIMITS";
        } else if (message == WM_ERASEBKGND) {
            reinterpret_cast<HDC__*>(wParam)->ExcludeClipRect(RECT{1, 2, 3, 4});
            entry = "ERASE";
        } else
            entry = message == WM_INITDIALOG ? "INIT" : message == TCWM_CREATED ? "CREATED"
                    : message == WM_DESTROY  ? "DESTROY"
                                             : "MSG " + std::to_string(message);
        log += (log.empty() ? "" : "; ") + entry;
        return message == 1234 ? 77 : 0;
    }
    std::string log;
};

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

struct Row {
    const char* name;
    std::function<void(TCHeadlessWindow&, std::string&)> steps;
    const char* log;
    RECT rect;
    const char* client;
    const char* normal;
};

// Outer 400 x 300 at 100, 100; frame 8 each side plus a caption of 23: client 384 x 261.
const RECT kStart{100, 100, 500, 400};
constexpr unsigned long kStyle = WS_CAPTION | WS_THICKFRAME | WS_VISIBLE;

WINDOWPLACEMENT Placement(uint32_t command, RECT normal)
{
    return WINDOWPLACEMENT{sizeof(WINDOWPLACEMENT), 0, command, {-1, -1}, {-1, -1}, normal};
}

const Row kRows[] = {
    {"a user resize inside the limits", [](auto& w, auto&) { w.UserResize(450, 350); }, "LIMITS; SIZE 0 434x311",
     {100, 100, 550, 450}, "434x311", "100,100,550,450"},
    {"a user resize below the smallest size", [](auto& w, auto&) { w.UserResize(10, -5); }, "LIMITS; SIZE 0 184x111",
     {100, 100, 300, 250}, "184x111", "100,100,300,250"},
    {"a user resize above the largest size", [](auto& w, auto&) { w.UserResize(5000, 5000); },
     "LIMITS; SIZE 0 584x461", {100, 100, 700, 600}, "584x461", "100,100,700,600"},
    {"the same size sends no notification", [](auto& w, auto&) { w.UserResize(400, 300); }, "LIMITS", kStart,
     "384x261", "100,100,500,400"},
    {"minimised", [](auto& w, auto&) { w.Minimise(); }, "SIZE 1 0x0", {-32000, -32000, -31840, -31961}, "0x0",
     "100,100,500,400"},
    {"a minimised window ignores the user", [](auto& w, auto&) { w.Minimise(); w.UserResize(450, 350); },
     "SIZE 1 0x0", {-32000, -32000, -31840, -31961}, "0x0", "100,100,500,400"},
    {"restored after minimising", [](auto& w, auto&) { w.Minimise(); w.Restore(); }, "SIZE 1 0x0; SIZE 0 384x261",
     kStart, "384x261", "100,100,500,400"},
    {"maximised within the limits", [](auto& w, auto&) { w.Maximise(); }, "LIMITS; SIZE 2 584x461",
     {0, 0, 600, 500}, "584x461", "100,100,500,400"},
    {"moving a minimised window moves its normal placement",
     [](auto& w, auto&) { w.Minimise(); w.MoveWindow(10, 20, 300, 200, true); w.Restore(); },
     "SIZE 1 0x0; SIZE 0 284x161", {10, 20, 310, 220}, "284x161", "10,20,310,220"},
    {"moving without a new client size", [](auto& w, auto&) { w.MoveWindow(5, 6, 400, 300, false); }, "",
     {5, 6, 405, 306}, "384x261", "5,6,405,306"},
    {"sizes kept within 0 to 32767", [](auto& w, auto&) { w.MoveWindow(-2000000, 0, -5, 40000, false); },
     "SIZE 0 0x32728", {-1000000, 0, -1000000, 32767}, "0x32728", "-1000000,0,-1000000,32767"},
    {"a hiding placement restores in place",
     [](auto& w, auto& log) {
         w.Maximise();
         const WINDOWPLACEMENT p = Placement(SW_HIDE, RECT{0, 0, 300, 200});
         log += w.SetWindowPlacement(&p) && !w.IsWindowVisible() ? "; hidden" : "; shown";
     },
     "LIMITS; SIZE 2 584x461; SIZE 0 284x161; hidden", {0, 0, 300, 200}, "284x161", "0,0,300,200"},
    {"a minimising placement keeps its normal rectangle",
     [](auto& w, auto& log) {
         const WINDOWPLACEMENT p = Placement(SW_SHOWMINIMIZED, RECT{0, 0, 300, 200});
         WINDOWPLACEMENT read{};
         log += w.SetWindowPlacement(&p) && w.GetWindowPlacement(&read) ? "; " + std::to_string(read.showCmd) : "";
     },
     "SIZE 1 0x0; 2", {-32000, -32000, -31840, -31961}, "0x0", "0,0,300,200"},
    {"an unknown show command is refused",
     [](auto& w, auto& log) {
         const WINDOWPLACEMENT p = Placement(10, RECT{0, 0, 300, 200});
         log += w.SetWindowPlacement(&p) ? "applied" : "refused";
     },
     "refused", kStart, "384x261", "100,100,500,400"},
    {"painting erases what the handler did not exclude",
     [](auto& w, auto& log) {
         w.Invalidate(false);
         HDC__ dc;
         log += w.Paint(&dc) ? "; painted" : "; nothing";
         w.Invalidate(true);
         log += w.Paint(&dc) ? "; " + Text(dc.clip) + " less " + Text(dc.excluded.at(0)) : "; nothing";
         log += w.Paint(&dc) ? "; again" : "; once";
         log += "; " + std::to_string(w.Invalidations().size());
     },
     "; nothing; ERASE; 0,0,384,261 less 1,2,3,4; once; 2", kStart, "384x261", "100,100,500,400"},
    {"a hidden window paints nothing",
     [](auto& w, auto& log) {
         log += w.ShowWindow(SW_HIDE) ? "was visible" : "was hidden";
         w.Invalidate(true);
         log += w.Paint(nullptr) ? "; painted" : "; nothing";
     },
     "was visible; nothing", kStart, "384x261", "100,100,500,400"},
    {"children by id, in order, visible with their parent",
     [](auto& w, auto& log) {
         TCHeadlessWindow& first = w.AddChild("Button", "OK", WS_CHILD | WS_VISIBLE, RECT{1, 2, 3, 4}, 7);
         w.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{5, 6, 7, 8}, 7);
         CWnd* second = first.GetNextSibling();
         log += w.GetDlgItem(7) == &first && w.GetFirstChild() == &first && second->GetParent() == &w &&
                        !second->GetNextSibling() && !w.GetDlgItem(8)
                    ? "tree"
                    : "wrong tree";
         w.ShowWindow(SW_HIDE);
         log += second->IsWindowVisible() ? "; child visible" : "; child hidden";
         RECT r;
         log += second->GetWindowRect(&r) ? "; " + Text(r) : "";
     },
     "tree; child hidden; 5,6,7,8", kStart, "384x261", "100,100,500,400"},
    {"after Destroy no message and no handle",
     [](auto& w, auto& log) {
         TCHeadlessWindow& child = w.AddChild("Edit", "", WS_CHILD | WS_VISIBLE, RECT{1, 2, 3, 4}, 1);
         Recorder childHandler;
         child.Create(&childHandler);
         w.Destroy();
         log += "; child: " + childHandler.log;
         w.UserResize(450, 350);
         w.Maximise();
         log += w.GetSafeHwnd() || child.GetSafeHwnd() || w.Create(nullptr) ? "; alive" : "; gone";
     },
     "DESTROY; child: INIT; CREATED; DESTROY; gone", kStart, "384x261", "100,100,500,400"},
    {"Send answers with the handler's answer",
     [](auto& w, auto& log) { log += "; " + std::to_string(w.Send(1234, 0, 0)); }, "MSG 1234; 77", kStart,
     "384x261", "100,100,500,400"},
};

TEST(TCHeadlessWindow, Rules)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        TCHeadlessWindow window("#32770", "Dialog", kStyle, kStart);
        Recorder handler;
        ASSERT_TRUE(window.Create(&handler));
        EXPECT_EQ(handler.log, "INIT; CREATED");
        EXPECT_FALSE(window.Create(&handler));
        handler.log.clear();
        row.steps(window, handler.log);
        EXPECT_EQ(handler.log, row.log);
        RECT r{};
        window.GetWindowRect(&r);
        EXPECT_EQ(Text(r), Text(row.rect));
        window.GetClientRect(&r);
        EXPECT_EQ(std::to_string(r.right) + "x" + std::to_string(r.bottom), row.client);
        WINDOWPLACEMENT p{};
        if (window.GetSafeHwnd() && window.GetWindowPlacement(&p)) {
            EXPECT_EQ(Text(p.rcNormalPosition), row.normal);
        }
    }
}

} // namespace
