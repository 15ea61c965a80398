#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/platform/CMemFile.h"

namespace {

// Stores through write, then reads the bytes back into a fresh parser handed to read.
template <class W, class R> void RoundTrip(W write, R read)
{
    CMemFile f;
    ArchiveParser w;
    {
        CArchive ar(&f, CArchive::store);
        w.BeginSerialize(ar);
        write(w);
        w.EndSerialize(ar);
    }
    f.SeekToBegin();
    ArchiveParser r;
    CArchive ar(&f, CArchive::load);
    ASSERT_TRUE(r.BeginSerialize(ar));
    read(r);
}

TEST(ArchiveParserRecords, NarrowTypesAreWidenedAndCutBack)
{
    RoundTrip(
        [](ArchiveParser& p) {
            bool b = true;
            char c = -5;
            unsigned char uc = 250;
            short s = -30000;
            unsigned short us = 65000;
            unsigned int ui = 0xFFFFFFF0u;
            long l = -123456;
            unsigned long ul = 0xFFFFFFFFul;
            float f = 1.25f;
            int big = 0x12345;
            p.Serialize(1, "", b); p.Serialize(2, "", c); p.Serialize(3, "", uc);
            p.Serialize(4, "", s); p.Serialize(5, "", us); p.Serialize(6, "", ui);
            p.Serialize(7, "", l); p.Serialize(8, "", ul); p.Serialize(9, "", f);
            p.Serialize(10, "", big);
        },
        [](ArchiveParser& p) {
            bool b = false;
            char c = 0;
            unsigned char uc = 0, cut = 0;
            short s = 0;
            unsigned short us = 0;
            unsigned int ui = 0;
            long l = 0;
            unsigned long ul = 0;
            float f = 0;
            EXPECT_TRUE(p.Serialize(1, "", b) && b);
            EXPECT_TRUE(p.Serialize(2, "", c) && c == -5);
            EXPECT_TRUE(p.Serialize(3, "", uc) && uc == 250);
            EXPECT_TRUE(p.Serialize(4, "", s) && s == -30000);
            EXPECT_TRUE(p.Serialize(5, "", us) && us == 65000);
            EXPECT_TRUE(p.Serialize(6, "", ui) && ui == 0xFFFFFFF0u);
            EXPECT_TRUE(p.Serialize(7, "", l) && l == -123456);
            EXPECT_TRUE(p.Serialize(8, "", ul) && ul == 0xFFFFFFFFul);
            EXPECT_TRUE(p.Serialize(9, "", f) && f == 1.25f);
            EXPECT_TRUE(p.Serialize(10, "", cut) && cut == 0x45);
            float missing = 7;
            EXPECT_FALSE(p.Serialize(11, "", missing));
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

} // namespace
