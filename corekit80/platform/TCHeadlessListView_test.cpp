// The headless list view's rules, one row each.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "corekit80/platform/TCHeadlessListView.h"

namespace {

using V = TCHeadlessListView;

// Two columns "a" and "b" (60 pixels each) and rows "0", "1", "2" with "0b".. in column 1;
// client 400 by 72 shows three rows.
std::string Apply(const std::function<std::string(V&)>& action)
{
    V v(SIZE{400, 72});
    v.InsertColumn(0, "a", LVCFMT_LEFT, -1, -1);
    v.InsertColumn(1, "b", LVCFMT_RIGHT | 0x100, -1, -1);
    for (int r = 0; r < 3; ++r) {
        v.InsertItem(r, std::to_string(r).c_str());
        v.SetItemText(r, 1, (std::to_string(r) + "b").c_str());
    }
    std::string out = action(v) + " |";
    for (int r = 0; r < v.GetItemCount(); ++r) {
        out += " " + std::string(v.GetItemText(r, 0));
        for (int c = 1; c < v.GetColumnCount(); ++c)
            out += "/" + std::string(v.GetItemText(r, c));
        out += v.GetCheck(r) ? "+" : "";
        out += v.GetSelectedRow() == r ? "*" : "";
    }
    return out;
}

std::string N(long long n) { return std::to_string(n); }

TEST(TCHeadlessListView, Rules)
{
    const struct {
        const char* rule;
        std::function<std::string(V&)> action;
        const char* want;
    } cases[] = {
        {"insert past the end appends", [](V& v) { return N(v.InsertItem(9, "x")); }, "3 | 0/0b 1/1b 2/2b x/"},
        {"negative index refused", [](V& v) { return N(v.InsertItem(-1, "x")) + N(v.InsertColumn(-1, "", 0, 1, 1)); }, "-1-1 | 0/0b 1/1b 2/2b"},
        {"column inserted between shifts cells", [](V& v) { return N(v.InsertColumn(1, "m", 0, 5, -1)); }, "1 | 0//0b 1//1b 2//2b"},
        {"column deleted takes its cells", [](V& v) { return N(v.DeleteColumn(0)) + N(v.DeleteColumn(5)); }, "10 | 0b 1b 2b"},
        {"last column deleted empties sub item 0", [](V& v) { const bool deleted = v.DeleteColumn(1) && v.DeleteColumn(0); return N(deleted) + N(v.SetItemText(0, 1, "y")); }, "10 |   "},
        {"no cell beyond the columns", [](V& v) { return N(v.SetItemText(0, 2, "y")) + N(v.SetItemText(3, 0, "y")) + std::string(v.GetItemText(0, 2)); }, "00 | 0/0b 1/1b 2/2b"},
        {"check and selection follow the row", [](V& v) { v.SetCheck(1, true); v.SelectRow(2); v.SelectRow(1); return N(v.DeleteItem(0)); }, "1 | 1/1b+* 2/2b"},
        {"deleting the selected row leaves none", [](V& v) { v.SelectRow(1); const bool deleted = v.DeleteItem(1); return N(deleted) + N(v.GetSelectedRow()); }, "1-1 | 0/0b 2/2b"},
        {"format keeps the alignment bits", [](V& v) { return N(v.GetColumnFormat(1)) + N(v.GetColumnFormat(2)); }, "1-1 | 0/0b 1/1b 2/2b"},
        {"rows scroll into view", [](V& v) { v.InsertItem(3, "3"); v.InsertItem(4, "4"); v.EnsureVisible(4); const int top = v.GetTopIndex(); v.EnsureVisible(0); return N(top) + N(v.GetTopIndex()); }, "20 | 0/0b 1/1b 2/2b 3/ 4/"},
        {"cell rectangle below header, after columns", [](V& v) { RECT r; v.GetSubItemRect(2, 1, &r); return N(r.left) + "," + N(r.top) + "," + N(r.right) + "," + N(r.bottom) + N(v.GetSubItemRect(2, 2, &r)); }, "60,55,120,720 | 0/0b 1/1b 2/2b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Apply(c.action), c.want) << c.rule;
}

} // namespace
