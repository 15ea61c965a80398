// Tests of TCLogFont's default font, height conversions and comparisons.
#include <gtest/gtest.h>

#include <cstring>

#include "corekit80/foundation/TCLogFont.h"

TEST(TCLogFont, NewFontIsTenPointTahomaOnTheScreen)
{
    TCLogFont font;
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    EXPECT_EQ(font.lfWidth | font.lfEscapement | font.lfOrientation | font.lfItalic | font.lfCharSet, 0);
    EXPECT_EQ(font.m_Color, 0u);
}

TEST(TCLogFont, PointsAndDeviceUnitsRoundLikeMulDiv)
{
    struct Case {
        int points, height;
    } cases[] = {{10, -13}, {8, -11}, {9, -12}, {12, -16}, {0, 0}, {-10, 13}, {72, -96}};
    for (const Case& c : cases) {
        EXPECT_EQ(TCLogFont::PixelHeightToDeviceUnits(c.points), c.height) << c.points;
        TCLogFont font;
        font.SetFontHeight(c.points);
        EXPECT_EQ(font.lfHeight, c.height) << c.points;
    }
    // Back to points: 13 pixels are 9.75 points.
    EXPECT_EQ(TCLogFont::DeviceUnitsToPixelHeight(-13), 10);
    EXPECT_EQ(TCLogFont::DeviceUnitsToPixelHeight(-16), 12);
}

TEST(TCLogFont, SameComparesFaceBytesEqualComparesFaceTexts)
{
    TCLogFont a, b;
    EXPECT_TRUE(a.IsSame(b));
    EXPECT_TRUE(TCLogFont::IsEqual(a, b));
    b.lfFaceName[30] = 'x';  // behind the terminator
    EXPECT_FALSE(a.IsSame(b));
    EXPECT_TRUE(TCLogFont::IsEqual(a, b));
    for (auto change : {+[](TCLogFont& f) { f.lfItalic = 1; }, +[](TCLogFont& f) { f.m_Color = 0xff; },
                        +[](TCLogFont& f) { f.lfFaceName[0] = 't'; }, +[](TCLogFont& f) { f.lfPitchAndFamily = 2; }}) {
        TCLogFont c;
        change(c);
        EXPECT_FALSE(a.IsSame(c));
        EXPECT_FALSE(TCLogFont::IsEqual(a, c));
    }
}
