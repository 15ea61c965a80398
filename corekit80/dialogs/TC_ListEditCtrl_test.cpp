// Tests of the list edit control: row operations against a model of the table, the
// column search against brute force, archive round trips checked with libxml2's XPath,
// the editors and the dialog's keys.
#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "corekit80/dialogs/TC_Dialog_ListEditCtrl.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/platform/TCColorChooser.h"
#include "corekit80/platform/TCHeadlessListView.h"
#include "corekit80/platform/TCHeadlessWindow.h"
#include "corekit80/platform/TCPathUI.h"

namespace {

using Ctrl = TC_ListEditCtrl;
using Table = std::vector<std::vector<std::string>>;

struct Row {
    std::vector<std::string> cells;
    bool checked;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const TCListView& v)
{
    std::vector<Row> rows;
    for (int r = 0; r < v.GetItemCount(); ++r) {
        rows.push_back({{}, v.GetCheck(r)});
        for (int c = 0; c < v.GetColumnCount(); ++c)
            rows.back().cells.push_back(std::string(v.GetItemText(r, c)));
    }
    return rows;
}

// The row operations as the decisions state them, on vectors.
struct Model {
    std::vector<Row> rows;
    int selected = -1;

    int Copy(int from, int to)
    {
        const int n = int(rows.size());
        if (from == to || from < 0 || to < 0 || from >= n)
            return -1;
        const int at = std::min(to, n);
        rows.insert(rows.begin() + at, rows[size_t(from)]);
        selected = at;
        return from > at ? from + 1 : from;
    }
    bool Move(int from, int to)
    {
        const int source = Copy(from, to);
        if (source < 0)
            return false;
        rows.erase(rows.begin() + source);
        selected -= source < selected;
        return true;
    }
    bool Delete(int row)
    {
        if (row < 0 || row >= int(rows.size()))
            return false;
        rows.erase(rows.begin() + row);
        selected = rows.empty() ? -1 : std::min(row, int(rows.size()) - 1);
        return true;
    }
};

TEST(TC_ListEditCtrl, RowOperationsFollowTheModel)
{
    std::mt19937 random(19);
    for (int run = 0; run < 40; ++run) {
        TCHeadlessListView view;
        Ctrl ctrl(&view);
        Model model;
        for (int c = 0; c < 3; ++c)
            ctrl.InsertColumn(c, Ctrl::TYPE_EDIT, 0, "c");
        for (int r = 0, n = int(random() % 6); r < n; ++r) {
            Row row{{"r" + std::to_string(r), random() % 2 ? "" : "x", "y" + std::to_string(r)}, random() % 2 == 1};
            ctrl.InsertRow(r, 3, row.cells[0].c_str(), row.cells[1].c_str(), row.cells[2].c_str());
            view.SetCheck(r, row.checked);
            model.rows.push_back(row);
        }
        for (int step = 0; step < 30; ++step) {
            const int n = int(model.rows.size());
            const int a = int(random() % unsigned(n + 4)) - 1, b = int(random() % unsigned(n + 4)) - 1;
            int got, want;
            switch (random() % 5) {
            case 0: got = ctrl.CopyRow(a, b), want = model.Copy(a, b); break;
            case 1: got = ctrl.MoveRow(a, b), want = model.Move(a, b); break;
            case 2: got = ctrl.MoveUp(a), want = a > 0 && a < n && model.Move(a, a - 1); break;
            case 3: got = ctrl.MoveDown(a), want = a >= 0 && a < n - 1 && model.Move(a, a + 2); break;
            default: got = ctrl.DeleteItem(a), want = model.Delete(a); break;
            }
            ASSERT_EQ(got, want) << "run " << run << " step " << step;
            ASSERT_EQ(Rows(view), model.rows) << "run " << run << " step " << step;
            ASSERT_EQ(view.GetSelectedRow(), model.selected) << "run " << run << " step " << step;
        }
    }
    TCHeadlessListView view;
    Ctrl ctrl(&view);
    for (int r = 0; r < 5; ++r)
        ctrl.InsertRow(r, 1, std::to_string(r).c_str());
    EXPECT_EQ(ctrl.CopyRow(3, 1), 4);
    EXPECT_EQ(view.GetItemText(1, 0), "3");
}

TEST(TC_ListEditCtrl, NextSubItemAgreesWithBruteForce)
{
    std::mt19937 random(7);
    for (int run = 0; run < 300; ++run) {
        TCHeadlessListView view;
        Ctrl ctrl(&view);
        const int n = int(random() % 7);
        std::vector<bool> readonly(size_t(n), false);
        for (int c = 0; c < n; ++c) {
            readonly[size_t(c)] = random() % 3 == 0;
            ctrl.InsertColumn(c, Ctrl::TYPE_EDIT, readonly[size_t(c)] ? Ctrl::FLAG_READONLY | 1 : 1, "c");
        }
        for (int start = -1; start <= n; ++start)
            for (int step : {1, -1}) {
                if ((start == -1 && step < 0) || (start == n && step > 0))
                    continue;
                int want = -1, wantWrapped = 0, wrapped = 5;
                for (int k = 1; k <= n && want < 0; ++k) {
                    const int raw = start + step * k;
                    wantWrapped = raw >= n ? 1 : raw < 0 ? -1 : 0;
                    if (!readonly[size_t((raw % n + n) % n)])
                        want = (raw % n + n) % n;
                }
                EXPECT_EQ(ctrl.NextSubItem(start, step, wrapped), want) << n << " " << start << " " << step;
                if (want >= 0) {
                    EXPECT_EQ(wrapped, wantWrapped) << n << " " << start << " " << step;
                }
            }
    }
}

// The archive's bytes after Serialize stored table in the given form.
std::string Store(ArchiveParser& archive, Ctrl& ctrl, bool xml, bool* result = nullptr)
{
    CMemFile file;
    file.SetFilePath(xml ? "t.tcx" : "t.tc2");
    archive.SaveAscii(xml ? ArchiveParser::modeXML : ArchiveParser::modeBinary);
    CArchive ar(&file, CArchive::store);
    archive.BeginSerialize(ar);
    const bool ok = ctrl.Serialize(&archive);
    if (result)
        *result = ok;
    archive.EndSerialize(ar);
    ar.Close();
    return std::string(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
}

bool Load(ArchiveParser& archive, const std::string& bytes, Ctrl& ctrl)
{
    CMemFile file(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())), unsigned(bytes.size()));
    file.SetFilePath("t.tc2");
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(archive.BeginSerialize(ar));
    const bool ok = ctrl.Serialize(&archive);
    archive.EndSerialize(ar);
    return ok;
}

void SetContent(Ctrl& ctrl, const Table& table)
{
    CArray<CStringArray>& content = ctrl.GetContent();
    content.SetSize(0);
    for (const auto& row : table) {
        CStringArray cells;
        for (const auto& cell : row)
            cells.Add(CString(cell.c_str()));
        content.Add(cells);
    }
}

Table Content(Ctrl& ctrl)
{
    Table table;
    for (int r = 0; r < ctrl.GetContent().GetSize(); ++r) {
        table.emplace_back();
        for (int c = 0; c < ctrl.GetContent()[r].GetSize(); ++c)
            table.back().emplace_back(ctrl.GetContent()[r][c]);
    }
    return table;
}

double XPathNumber(const std::string& bytes, const std::string& expression)
{
    xmlDocPtr doc = xmlReadMemory(bytes.data(), int(bytes.size()), "t.tcx", nullptr, XML_PARSE_NONET);
    EXPECT_TRUE(doc);
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(BAD_CAST expression.c_str(), context);
    const double value = xmlXPathCastToNumber(result);
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);
    return value;
}

TEST(TC_ListEditCtrl, SerializeRoundTripsAndShrinks)
{
    const std::string s254(254, 'a'), s255(255, 'b'), s65533(65533, 'c'), s65534(65534, 'd');
    const struct {
        Table table, loaded;
    } cases[] = {
        {{}, {}},
        {{{}}, {{}}},
        {{{"", s254, s255}, {s65533, s65534, ""}}, {{"", s254, s255}, {s65533, s65534, ""}}},
        {{{"a", "b"}, {"c", "d", "cut"}, {"e"}}, {{"a", "b"}, {"c", "d"}, {"e", ""}}},
    };
    for (bool xml : {false, true})
        for (const auto& c : cases) {
            TCHeadlessListView view;
            Ctrl stored(&view), loaded(&view);
            SetContent(stored, c.table);
            ArchiveParser writer, reader;
            std::string bytes = Store(writer, stored, xml);
            ASSERT_TRUE(Load(reader, bytes, loaded));
            EXPECT_EQ(Content(loaded), c.loaded) << xml << " " << c.table.size();
            // Stored again shorter through the same tree: no line or cell of before is left.
            SetContent(stored, {{"z"}});
            bytes = Store(writer, stored, xml);
            ArchiveParser again;
            ASSERT_TRUE(Load(again, bytes, loaded));
            EXPECT_EQ(Content(loaded), Table{{"z"}});
            EXPECT_EQ(again.SubSection(11, "", true)->GetVarType(1), 0);
            EXPECT_EQ(again.SubSection(11, "", true)->SubSection(0, "", true)->GetVarType(1), 0);
        }
    // The XML form's names and numbering, read with libxml2.
    TCHeadlessListView view;
    Ctrl ctrl(&view);
    SetContent(ctrl, {{"a", "b", "c"}, {"d", "", s255}});
    ArchiveParser writer;
    const std::string xml = Store(writer, ctrl, true);
    const struct {
        const char* expression;
        double value;
    } paths[] = {
        {"number(/subsection/integer[@id='1'][@description='Number of rows'])", 2},
        {"number(/subsection/integer[@id='2'][@description='Number of columns'])", 3},
        {"count(/subsection/subsection[@id='11'][@description='Content lines']/subsection)", 2},
        {"count(//subsection[@id='11']/subsection[@id='1'][@description='Line 1']/string)", 3},
        {"count(//subsection[@id='11']/subsection[@id='0'][@description='Line 0']/string[@id='2'][@description='Entry 2'][.='c'])", 1},
        {"string-length(//subsection[@description='Line 1']/string[@description='Entry 2'])", 255},
        {"string-length(//subsection[@description='Line 1']/string[@id='1'])", 0},
    };
    for (const auto& p : paths)
        EXPECT_EQ(XPathNumber(xml, p.expression), p.value) << p.expression;
}

TEST(TC_ListEditCtrl, SerializeRefusesTablesBeyondItsLimits)
{
    TCHeadlessListView view;
    Ctrl ctrl(&view);
    const struct {
        int rows, columns;
        bool ok;
    } cases[] = {{65536, 1, true}, {65537, 1, false}, {2, 65537, false}, {65536, 65, false}};
    for (const auto& c : cases) {
        CArray<CStringArray>& content = ctrl.GetContent();
        content.SetSize(c.rows);
        content[0].SetSize(c.columns);
        ArchiveParser writer;
        bool ok;
        const std::string bytes = Store(writer, ctrl, false, &ok);
        EXPECT_EQ(ok, c.ok) << c.rows << " x " << c.columns;
        // A refused table writes nothing; an archive that claims one is refused too.
        ArchiveParser reader;
        Ctrl loaded(&view);
        EXPECT_TRUE(Load(reader, bytes, loaded));
        EXPECT_EQ(loaded.GetContent().GetSize(), c.ok ? c.rows : 0);
        int rows = c.rows, columns = c.columns;
        ArchiveParser damaged;
        CMemFile file;
        file.SetFilePath("t.tc2");
        {
            CArchive ar(&file, CArchive::store);
            damaged.BeginSerialize(ar);
            damaged.Serialize(1, "", rows);
            damaged.Serialize(2, "", columns);
            damaged.EndSerialize(ar);
        }
        ArchiveParser damagedReader;
        EXPECT_EQ(Load(damagedReader, std::string(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength())), loaded), c.ok);
        EXPECT_EQ(loaded.GetContent().GetSize(), c.ok ? c.rows : 0);
    }
}

} // namespace

namespace {

// A table whose content index i shows in column i + 1, so that column 0 keeps what the
// control put there.
struct Shifted : Ctrl {
    using Ctrl::Ctrl;
    int MapIndexToColumn(int index) const override { return index + 1; }
    int MapColumnToIndex(int column) const override { return column - 1; }
};

TEST(TC_ListEditCtrl, ContentReachesTheListAndComesBack)
{
    TCHeadlessListView view;
    Shifted ctrl(&view);
    ctrl.InsertColumn(0, Ctrl::TYPE_EDIT, 0, "name");
    ctrl.InsertColumn(1, Ctrl::TYPE_CHECK, 0, "on");
    ctrl.InsertColumn(2, Ctrl::TYPE_COLOR, 0, "colour");
    EXPECT_TRUE(view.GetStyle() & LVS_EDITLABELS);
    SetContent(ctrl, {{"7", "1; 2; 3"}, {"0", ""}, {"x", "9"}});
    ctrl.ContentsToCtrl();
    EXPECT_EQ(Rows(view), (std::vector<Row>{{{"not filled", "1", "1; 2; 3"}, true},
                                           {{"not filled", "0", ""}, false},
                                           {{"not filled", "0", "9"}, false}}));
    view.SetCheck(1, true);
    ctrl.CtrlToContents();
    EXPECT_EQ(Content(ctrl), (Table{{"1", "1; 2; 3"}, {"1", ""}, {"0", "9"}}));
    SetContent(ctrl, {{"a", "b"}});
    ctrl.ContentsToCtrl();
    EXPECT_EQ(view.GetItemCount(), 1);
    SetContent(ctrl, {});
    ctrl.ContentsToCtrl();
    EXPECT_EQ(view.GetItemCount(), 0);
    ctrl.DivideSpace(2, 0.25, 0.75);
    ctrl.ResizeColumns();
    EXPECT_EQ(view.GetColumnWidth(1), 300);
    ctrl.RemoveAll();
    EXPECT_EQ(view.GetColumnCount() + ctrl.GetColumnType(1) + ctrl.GetSpaceFractions().GetSize(), 0);

    const struct {
        const char* text;
        COLORREF color;
    } colours[] = {{"1; 2; 3", 0x030201}, {"", 0}, {"300; -5; 7", 0x0700FF}, {"12", 12}, {"1;2", 0x0201},
                   {"a; 2", 0}, {"1 ; 2", 1}, {"99999999999; 0; 256", 0xFF00FF}};
    for (const auto& c : colours)
        EXPECT_EQ(Ctrl::ParseColorText(c.text), c.color) << c.text;
    EXPECT_EQ(Ctrl::ColorText(0x0700FF), "255; 0; 7");
}

TEST(TC_ListEditCtrl, EditorsFollowTheirColumnType)
{
    char folder[] = "/tmp/ck80-list-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    const std::string existing = std::string(folder) + "/in.txt", readonly = std::string(folder) + "/ro.txt";
    for (const std::string& path : {existing, readonly})
        std::fclose(std::fopen(path.c_str(), "w"));
    chmod(readonly.c_str(), 0444);
    static std::string answer;
    TCSetPathUI({[](const TCFileChooserRequest&, TCString& chosen) { chosen = answer.c_str(); return 1; }, nullptr});

    TCHeadlessListView view;
    Ctrl ctrl(&view);
    for (int type = 0; type <= 11; ++type)
        ctrl.InsertColumn(type, Ctrl::Type(type), 0, "c", LVCFMT_RIGHT, 30);
    ctrl.InsertColumn(12, Ctrl::TYPE_EDIT, Ctrl::FLAG_READONLY, "ro");
    ctrl.AddCComboString(5, "on");
    ctrl.AddCComboString(5, "off");
    const struct {
        int column;
        const char* input;        // set as text, or "#n" for choice n, "!" for a click, "^" for the chooser
        bool taken;
        const char* cell;         // after Commit; null: no editor
        const char* shown;
    } cases[] = {
        {0, "x", false, nullptr, ""},       {11, "x", false, nullptr, ""},    {12, "x", false, nullptr, ""},
        {1, "!", true, "1", "1"},           {1, "yes", false, "0", "0"},      {2, "text", true, "text", "text"},
        {3, "typed", true, "typed", "typed"}, {4, "typed", true, "typed", "typed"}, {5, "typed", false, "", ""},
        {5, "#1", true, "off", "off"},      {5, "#2", false, "", ""},         {6, "Ctrl+F5", true, "Ctrl+F5", "Ctrl+F5"},
        {7, "^", false, "", ""},            {8, "^", false, "", ""},          {9, "^", false, "", ""},
        {10, "pässword", true, "pässword", "********"},
    };
    for (const auto& c : cases) {
        view.DeleteAllItems();
        ctrl.InsertRow(0, 1, "");
        TCListCellEditor* editor = ctrl.EditSubItem(0, c.column);
        ASSERT_EQ(editor != nullptr, c.cell != nullptr) << c.column;
        if (!editor)
            continue;
        EXPECT_EQ(editor->GetAlignment(), c.column == Ctrl::TYPE_EDIT ? LVCFMT_RIGHT : LVCFMT_LEFT);
        EXPECT_EQ(editor->GetRect().left, 30 * c.column);
        const std::string in = c.input;
        const bool taken = in == "!" ? editor->Toggle()
                           : in[0] == '#' ? editor->Choose(in[1] - '0')
                           : in == "^"    ? editor->RunChooser() == 1
                                          : editor->SetText(c.input);
        EXPECT_EQ(taken, c.taken) << c.column << " " << c.input;
        EXPECT_EQ(editor->GetShownText(), c.shown) << c.column;
        EXPECT_TRUE(editor->Commit());
        EXPECT_EQ(view.GetItemText(0, c.column), c.cell) << c.column;
        EXPECT_FALSE(editor->Commit());
    }
    // Choosers: a colour one installed, file answers that fit or not, cancel.
    TCSetColorChooser([](COLORREF initial, HWND, COLORREF& chosen) { chosen = initial + 1; return 1; });
    const struct {
        int column;
        std::string answer;
        int result;
        std::string cell;
    } choosers[] = {{7, "", 1, "2; 2; 3"}, {9, existing, 1, existing}, {9, existing + "x", 2, "1; 2; 3"},
                    {8, existing + "x", 1, existing + "x"}, {8, readonly, geteuid() ? 2 : 1, geteuid() ? "1; 2; 3" : readonly}};
    for (const auto& c : choosers) {
        answer = c.answer;
        view.SetItemText(0, c.column, "1; 2; 3");
        TCListCellEditor* editor = ctrl.EditSubItem(0, c.column);
        EXPECT_EQ(editor->RunChooser(), c.result) << c.column << " " << c.answer;
        editor->Commit();
        EXPECT_EQ(std::string(view.GetItemText(0, c.column)), c.cell);
    }
    ctrl.EditSubItem(0, 2)->SetText("left open");
    ctrl.EditSubItem(0, 3)->Cancel();
    EXPECT_EQ(view.GetItemText(0, 2), "left open");
    TCSetColorChooser(nullptr);
    TCSetPathUI({nullptr, nullptr});
    std::filesystem::remove_all(folder);
}

TEST(TC_Dialog_ListEditCtrl, DialogKeysEndAndMoveTheEdit)
{
    TCHeadlessWindow dialog("Dialog", "d", WS_CAPTION, RECT{0, 0, 400, 300});
    dialog.AddChild("SysListView32", "", WS_CHILD | WS_VISIBLE, RECT{10, 20, 310, 220}, 1001);
    TCHeadlessListView view;
    TC_Dialog_ListEditCtrl ctrl;
    EXPECT_FALSE(ctrl.Bind(&dialog, 1002, &view));
    EXPECT_EQ(ctrl.InsertColumn(0, Ctrl::TYPE_EDIT, 0, "a"), -1);
    ASSERT_TRUE(ctrl.Bind(&dialog, 1001, &view));
    for (int c = 0; c < 3; ++c)
        ctrl.InsertColumn(c, Ctrl::TYPE_EDIT, c == 1 ? static_cast<unsigned long>(Ctrl::FLAG_READONLY) : 0ul, "c", LVCFMT_LEFT, 50);
    ctrl.InsertRow(0, 3, "a", "b", "c");
    ctrl.InsertRow(1, 3, "d", "e", "f");
    EXPECT_FALSE(ctrl.OnDialogKey(TC_Dialog_ListEditCtrl::KEY_RETURN, false));
    ctrl.EditSubItem(0, 2)->SetText("C");
    RECT rect;
    ASSERT_TRUE(ctrl.GetEditorRectInDialog(&rect));
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.top, 20 + TCHeadlessListView::headerHeight);
    EXPECT_TRUE(ctrl.OnDialogKey(TC_Dialog_ListEditCtrl::KEY_TAB, false));
    EXPECT_EQ(view.GetItemText(0, 2), "C");
    EXPECT_EQ(ctrl.GetEditor().GetRow() * 10 + ctrl.GetEditor().GetColumn(), 10);
    EXPECT_TRUE(ctrl.OnDialogKey(TC_Dialog_ListEditCtrl::KEY_TAB, true));
    EXPECT_EQ(ctrl.GetEditor().GetRow() * 10 + ctrl.GetEditor().GetColumn(), 2);
    ctrl.GetEditor().SetText("gone");
    EXPECT_TRUE(ctrl.OnDialogKey(TC_Dialog_ListEditCtrl::KEY_ESCAPE, false));
    EXPECT_FALSE(ctrl.GetEditor().IsOpen());
    EXPECT_EQ(view.GetItemText(0, 2), "C");
}

} // namespace
