// Tests of TCTypeInfo: status names, diagnostic and time texts, archive lines.
#include "corekit80/streams/TCTypeInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <random>
#include <string>

#include "corekit80/platform/CArchive.h"
#include "corekit80/platform/CMemFile.h"

namespace {

TEST(TCTypeInfo, StatusNames)
{
    const char* names[] = {"UNKNOWN", "INVALID", "START", "BUSY", "STOP", "COMPLETE", "UNKNOWN"};
    for (int s = -2; s <= 4; ++s)
        EXPECT_STREQ(TCTypeInfo::BlockStateToString(TCBLOCKSTATUS(s)), names[s + 2]);
    struct Case { const char* text; int state; };
    const Case cases[] = {{"busy", 1},  {"INVALID", -1}, {"Start", 0},   {"sToP", 2},
                          {"complete", 3}, {"START_STOP", -2}, {"", -2}, {nullptr, -2}, {"BUSY ", -2}};
    for (const Case& c : cases)
        EXPECT_EQ(TCTypeInfo::StringToBlockState(c.text), c.state) << (c.text ? c.text : "null");
}

TEST(TCTypeInfo, DiagnosticText)
{
    TCTypeInfo ti;
    EXPECT_STREQ(ti.ConvertToString(-1),
                 "State= -1 (INVALID), Name= , TS= 0 (-), SR= 1.0, Min= 0, Max= 1, Unit= -\r\n");
    EXPECT_STREQ(ti.ConvertToString(10), "State= -1 ");
    ti.State = TCBS_COMPLETE;
    ti.Name = "Voltage";
    ti.Samplerate = 44100;
    ti.Min = -0.5;
    ti.Max = 123456789.25;
    ti.Unit.FromString("V * 1e-3");
    ti.Timestamp = -5000;
    EXPECT_STREQ(ti.ConvertToString(),
                 "State= 3 (START_STOP), Name= Voltage, TS= -5000 (-), SR= 44100.0, Min= -0.5, "
                 "Max= 123456789, Unit= V\r\n");
    ti.State = TCBLOCKSTATUS(9);
    EXPECT_EQ(std::string(ti.ConvertToString()).find("State= 9 (UNKNOWN)"), 0u);
}

// The time text against strftime, for times inside and at the edges of 32 bits.
TEST(TCTypeInfo, DiagnosticTimeText)
{
    auto timeText = [](double ms) {
        TCTypeInfo ti;
        ti.Timestamp = ms;
        std::string s(ti.ConvertToString());
        size_t open = s.find("TS= ");
        open = s.find('(', open) + 1;
        return s.substr(open, s.find(')', open) - open);
    };
    for (double ms : {0.0, 999.0, -1000.0, 2147483648000.0, 1e300, double(NAN), double(INFINITY)})
        EXPECT_EQ(timeText(ms), "-") << ms;

    std::mt19937 rng(32);
    std::uniform_int_distribution<int32_t> seconds(1, INT32_MAX);
    for (int n = 0; n < 2000; ++n) {
        time_t t = n == 0 ? INT32_MAX : seconds(rng);
        struct tm tm;
        localtime_r(&t, &tm);
        char expected[64];
        strftime(expected, sizeof expected, "%a %b %d %H:%M:%S %Y", &tm);
        ASSERT_EQ(timeText(double(t) * 1000 + 999), expected) << t;
    }
}

TEST(TCTypeInfo, ArchiveLinesRoundTrip)
{
    TCTypeInfo ti;
    ti.Timestamp = 1700000000123.0;
    ti.Samplerate = 1000.5;
    ti.Unit.FromString("m s^-2 * 1e-003");
    ti.Min = -5;
    ti.Max = 2.5e-7;
    ti.Name = "Acceleration x";
    ti.State = TCBS_STOP;

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ti.Serialize(ar);
    }
    std::string text(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
    EXPECT_EQ(text, "1700000000123\n1000.500000\n1.000000e-03\nm s^-2\n-5\n2.5e-07\n"
                    "Acceleration x\n");

    file.SeekToBegin();
    TCTypeInfo back;  // State is not stored and stays
    CArchive ar(&file, CArchive::load);
    back.Serialize(ar);
    EXPECT_EQ(back.Unit, ti.Unit);
    back.State = TCBS_STOP;
    EXPECT_STREQ(back.ConvertToString(), ti.ConvertToString());
}

TEST(TCTypeInfo, LoadingBadLinesThrowsEndOfFile)
{
    const std::string good = "5\r\n2\n1e-3\nV\n-1\n1\nname\n";
    auto load = [](const std::string& text, TCTypeInfo& ti) {
        CMemFile file;
        file.Write(text.data(), unsigned(text.size()));
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        try {
            ti.Serialize(ar);
        } catch (const CArchiveException& e) {
            return e.m_cause;
        }
        return int(CArchiveException::none);
    };
    // Every cut before the last line ends early ("\r\n" ends a line too).
    for (size_t n = 0; n <= good.size(); ++n) {
        TCTypeInfo cut;
        EXPECT_EQ(load(good.substr(0, n), cut), n >= good.size() - 4 ? CArchiveException::none
                                                                      : CArchiveException::endOfFile)
            << n;
    }
    TCTypeInfo bad;
    EXPECT_EQ(load("7\n8\nx\nV\n1\n2\nn\n", bad), CArchiveException::endOfFile);
    EXPECT_EQ(bad.Timestamp, 7);
    EXPECT_EQ(bad.Min, 0);
}

} // namespace
