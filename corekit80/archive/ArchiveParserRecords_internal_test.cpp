// Tests of the typed Serialize calls: narrow types, font heights, records, window placement.
#include <climits>
#include <tuple>

#include "corekit80/archive/ArchiveParser_test.h"

using namespace archive_test;

namespace {

// Stores through write, then reads the bytes back into a fresh parser handed to read.
template <class W, class R> void RoundTrip(W write, R read, int mode = ArchiveParser::modeBinary)
{
    ArchiveParser w;
    w.SaveAscii(mode);
    Bytes bytes = Store(w, write, mode == ArchiveParser::modeXML ? "a.tcx" : "a.tc2");
    ArchiveParser r;
    ASSERT_TRUE(Load(r, bytes));
    read(r);
}

TEST(ArchiveParserRecords, NarrowTypesAreWidenedAndCutBack)
{
    const auto values = std::make_tuple(true, char(-5), (unsigned char)250, short(-30000), (unsigned short)65000,
                                        0xFFFFFFF0u, -123456L, 0xFFFFFFFFul, 1.25f);
    RoundTrip(
        [&](ArchiveParser& p) {
            unsigned short id = 1;
            std::apply([&](auto... v) { (p.Serialize(id++, "", v), ...); }, values);
            int big = 0x12345;
            p.Serialize(id, "", big);
        },
        [&](ArchiveParser& p) {
            unsigned short id = 1;
            auto check = [&](auto v) {
                decltype(v) back{};
                EXPECT_TRUE(p.Serialize(id++, "", back));
                EXPECT_EQ(back, v) << id;
            };
            std::apply([&](auto... v) { (check(v), ...); }, values);
            unsigned char cut = 0;
            EXPECT_TRUE(p.Serialize(id, "", cut) && cut == 0x45);
            float missing = 7;
            EXPECT_FALSE(p.Serialize(99, "", missing));
            EXPECT_EQ(missing, 7);
        });
}

TEST(ArchiveParserRecords, FontHeightFollowsTheScale)
{
    LOGFONTA font{};
    font.lfHeight = -13;
    font.lfWidth = 4;
    font.lfWeight = 700;
    font.lfItalic = 1;
    memset(font.lfFaceName, 'F', sizeof font.lfFaceName - 1);
    RoundTrip([&](ArchiveParser& p) { p.Serialize(1, "Font", font, 1.0); },
              [&](ArchiveParser& p) {
                  double ratio = 0;
                  EXPECT_TRUE(p.SubSection(1, "", false)->Serialize(15, "", ratio));
                  EXPECT_EQ(ratio, -13.0);
                  LOGFONTA back{};
                  EXPECT_TRUE(p.Serialize(1, "Font", back, 2.0));
                  EXPECT_EQ(back.lfHeight, -26);
                  EXPECT_EQ(back.lfWeight, 700);
                  EXPECT_EQ(back.lfItalic, 1);
                  EXPECT_EQ(strlen(back.lfFaceName), 31u);
              });
    // An older section with only integer height and width.
    RoundTrip(
        [](ArchiveParser& p) {
            ArchiveParser* s = p.SubSection(2, "Font", false);
            int h = -11, w = 3;
            s->Serialize(1, "Height", h);
            s->Serialize(2, "Width", w);
        },
        [](ArchiveParser& p) {
            LOGFONTA back{};
            EXPECT_FALSE(p.Serialize(2, "Font", back, 1.0));
            EXPECT_EQ(back.lfHeight, -11);
            EXPECT_EQ(back.lfWidth, 3);
        });
}

TEST(ArchiveParserRecords, RecordsSurviveBinaryAndXml)
{
    WINDOWPLACEMENT wp{sizeof(WINDOWPLACEMENT), 2, 3, {-4, 5}, {6, -7}, {8, 9, 10, 11}};
    CPoint point(-1, 2);
    CSize size(3, -4);
    CRect rect(1, 2, 3, 4);
    TCColorButton plain, custom;
    plain.color = 0x123456;
    custom.color = 0xABCDEF;
    for (int i = 0; i < 16; ++i)
        custom.customColors[i] = 0x010101u * unsigned(i) + 0xFF000000u;
    LOGFONTA font{};
    font.lfHeight = -13;
    strcpy(font.lfFaceName, "Sans");
    for (int mode : {ArchiveParser::modeBinary, ArchiveParser::modeXML}) {
        RoundTrip(
            [&](ArchiveParser& p) {
                EXPECT_TRUE(p.Serialize(1, "WP", wp));
                EXPECT_TRUE(p.Serialize(2, "Pt", point));
                EXPECT_TRUE(p.Serialize(3, "Sz", size));
                EXPECT_TRUE(p.Serialize(4, "Rc", rect));
                EXPECT_TRUE(p.Serialize(5, "Plain", plain, false));
                EXPECT_TRUE(p.Serialize(6, "Custom", custom, true));
                EXPECT_TRUE(p.Serialize(7, "Font", font, TC_Metric()));
            },
            [&](ArchiveParser& p) {
                WINDOWPLACEMENT wp2{};
                CPoint point2;
                CSize size2;
                CRect rect2;
                TCColorButton plain2, custom2;
                LOGFONTA font2{};
                EXPECT_TRUE(p.Serialize(1, "WP", wp2));
                EXPECT_EQ(memcmp(&wp, &wp2, sizeof wp), 0);
                EXPECT_TRUE(p.Serialize(2, "Pt", point2) && point2 == point);
                EXPECT_TRUE(p.Serialize(3, "Sz", size2) && size2 == size);
                // The rectangle is stored top, left, bottom, right.
                int stored[4] = {};
                for (int i = 0; i < 4; ++i)
                    EXPECT_TRUE(p.SubSection(4, "", false)->Serialize(static_cast<unsigned short>(i + 1), "", stored[i]));
                EXPECT_EQ(stored[0] * 1000 + stored[1] * 100 + stored[2] * 10 + stored[3], 2143);
                EXPECT_TRUE(p.Serialize(4, "Rc", rect2) && rect2 == rect);
                EXPECT_TRUE(p.Serialize(5, "Plain", plain2, false));
                EXPECT_EQ(plain2.color, plain.color);
                EXPECT_EQ(plain2.GetCtrlColor(), plain.color);
                EXPECT_TRUE(p.Serialize(6, "Custom", custom2, true));
                EXPECT_EQ(custom2.GetCtrlColor(), custom.color);
                EXPECT_EQ(memcmp(custom2.customColors, custom.customColors, sizeof custom.customColors), 0);
                double ratio = 0;
                EXPECT_TRUE(p.SubSection(7, "", false)->Serialize(15, "", ratio));
                EXPECT_EQ(ratio, 13.0);
                EXPECT_TRUE(p.Serialize(7, "Font", font2, TC_Metric()));
                EXPECT_EQ(font2.lfHeight, -13);
                EXPECT_STREQ(font2.lfFaceName, "Sans");
                // Missing records leave the values alone.
                TCColorButton untouched;
                untouched.color = 7;
                untouched.ctrlColor = 8;
                EXPECT_FALSE(p.Serialize(9, "Plain", untouched, false));
                EXPECT_EQ(untouched.color * 10 + untouched.ctrlColor, 78u);
                CRect kept(5, 6, 7, 8);
                EXPECT_FALSE(p.Serialize(10, "Rc", kept));
                EXPECT_TRUE(kept == CRect(5, 6, 7, 8));
            },
            mode);
    }
}

// A window whose placement lives in memory.
struct FakeWindow : CWnd {
    WINDOWPLACEMENT wp{sizeof(WINDOWPLACEMENT), 0, 3, {1, 2}, {3, 4}, {5, 6, 7, 8}};
    bool GetWindowPlacement(WINDOWPLACEMENT* p) const override { *p = wp; return true; }
    bool SetWindowPlacement(const WINDOWPLACEMENT* p) override { wp = *p; return true; }
};

TEST(ArchiveParserRecords, WindowPlacementAndShowCommand)
{
    // Stored show commands: 3 as is, 0 through hidden.
    FakeWindow shown;
    unsigned int cmd = 0, hiddenCmd = 0;
    CWnd none;
    RoundTrip(
        [&](ArchiveParser& p) {
            EXPECT_TRUE(p.Serialize(1, "Win", &shown));
            EXPECT_TRUE(p.Serialize(2, "Win", &shown, true, hiddenCmd));
            EXPECT_EQ(hiddenCmd, 3u);
            EXPECT_TRUE(p.Serialize(3, "Win", &shown, false, cmd));
            EXPECT_FALSE(p.Serialize(4, "Win", &none));
            EXPECT_THROW(p.Serialize(5, "Win", nullptr), CArchiveException);
        },
        [&](ArchiveParser& p) {
            const struct {
                unsigned short id;
                int flags;  // -1: without flags, else the hidden flag
                unsigned readCmd, windowCmd;
            } cases[] = {{1, -1, 3, 0}, {2, 0, 0, 5}, {2, 1, 0, 0}, {3, 0, 3, 3}, {3, 1, 3, 0}};
            for (const auto& c : cases) {
                FakeWindow w;
                w.wp = WINDOWPLACEMENT{};
                unsigned int got = 99;
                bool ok = c.flags < 0 ? p.Serialize(c.id, "Win", &w) : p.Serialize(c.id, "Win", &w, c.flags != 0, got);
                EXPECT_TRUE(ok) << c.id;
                if (c.flags >= 0) {
                    EXPECT_EQ(got, c.readCmd) << c.id;
                }
                EXPECT_EQ(w.wp.showCmd, c.windowCmd) << c.id << " " << c.flags;
                EXPECT_EQ(w.wp.rcNormalPosition.bottom, 8) << c.id;
            }
            EXPECT_FALSE(p.Serialize(1, "Win", &none));
        });
}

} // namespace
