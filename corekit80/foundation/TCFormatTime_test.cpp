// Tests of TCFormatTime against strftime, edge cases, daylight saving and buffer cuts.
#include "corekit80/foundation/TCFormatTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <random>
#include <string>
#include <vector>

namespace {

// Sets the process time zone for one test and restores it afterwards.
class TimeZone {
public:
    explicit TimeZone(const char* tz) : m_had(std::getenv("TZ") != nullptr), m_old(m_had ? std::getenv("TZ") : "")
    {
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZone()
    {
        m_had ? setenv("TZ", m_old.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    std::string m_old;
};

std::string Fmt(const char* format, double time, double reference = 0.0)
{
    TCString s;
    TCFormatTime::FormatTime(s, format, time, reference);
    return std::string(s, s.GetLength());
}

// ms since 1970 of a UTC calendar time.
double Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, double ms = 0.0)
{
    tm t{};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
    return double(timegm(&t)) * 1000.0 + ms;
}

// Our token and the strftime conversion that shows the same thing.
constexpr struct { const char *ours, *theirs; } kPairs[] = {
    {"%MonEn", "%B"}, {"%dayEn", "%A"}, {"%yyyy", "%Y"}, {"%MEn", "%b"}, {"%dEn", "%a"}, {"%DoW", "%w"},
    {"%WoY", "%U"},   {"%HH", "%I"},    {"%hh", "%H"},   {"%mm", "%M"},  {"%ss", "%S"},  {"%dd", "%d"},
    {"%MM", "%m"},    {"%yy", "%y"},    {"%PP", "%p"},   {"%H", "%-I"},  {"%h", "%-H"},  {"%m", "%-M"},
    {"%s", "%-S"},    {"%d", "%-d"},    {"%M", "%-m"},   {"%%", "%%"},   {"%as", "%s"},
};

// Literal text that cannot lengthen the token before it.
constexpr char kLiteralChars[] = " -:/.,_0123456789x";

// Random formats made of token pairs applied to random local times agree with strftime
// in the "C" locale. Times are whole seconds plus a random fraction, from 1900 to 2200,
// in time zones given as POSIX rules (no zone database needed).
TEST(TCFormatTime, AgreesWithStrftime)
{
    // 1,000,000 comparisons in all: per zone, each random format with many times.
    constexpr int kFormatsPerZone = 143, kTimesPerFormat = 1000;
    const char* const zones[] = {"UTC", "UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0",
                                 "<+0530>-5:30", "NZST-12NZDT,M9.5.0,M4.1.0/3", "<-0330>3:30<-0230>,M3.2.0,M11.1.0"};
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    std::mt19937_64 rng(4242);
    std::uniform_real_distribution<double> when(Utc(1900, 1, 1), Utc(2200, 1, 1));
    std::uniform_int_distribution<int> pick(0, int(std::size(kPairs)) - 1), count(1, 6),
        literal(0, int(sizeof kLiteralChars) - 2), literalLength(0, 2);
    TCFormatTime format;
    char ours[256], theirs[256];
    for (const char* zone : zones) {
        TimeZone tz(zone);
        for (int i = 0; i < kFormatsPerZone; ++i) {
            std::string a, b;
            for (int n = count(rng); n > 0; --n) {
                const int k = pick(rng);
                std::string tail;
                for (int m = literalLength(rng); m > 0; --m)
                    tail += kLiteralChars[literal(rng)];
                a += kPairs[k].ours + tail;
                b += kPairs[k].theirs + tail;
            }
            format.SetFormatString(a.c_str());
            // %s counts whole seconds toward zero, "%as" downward: they differ before 1970.
            const bool epochSeconds = a.find("%as") != std::string::npos;
            for (int j = 0; j < kTimesPerFormat; ++j) {
                const double time = epochSeconds ? std::fabs(when(rng)) : when(rng);
                const int length = format.Format(ours, sizeof ours, time);
                const time_t seconds = time_t(std::trunc(time / 1000.0));
                tm t;
                ASSERT_NE(localtime_r(&seconds, &t), nullptr);
                strftime_l(theirs, sizeof theirs, b.c_str(), &t, c);
                ASSERT_STREQ(ours, theirs) << zone << " format " << a << " time " << time;
                ASSERT_EQ(length, int(std::strlen(theirs)));
            }
        }
    }
    freelocale(c);
}

TEST(TCFormatTime, EdgeCases)
{
    TimeZone tz("UTC0");
    const double midnight = Utc(2024, 3, 3);
    const struct { const char* format; double time, reference; const char* expected; } cases[] = {
        // A fraction of 0.9996 s rounds to 1000 ms, which is kept at 999.
        {"%yyyy-%MM-%dd %hh:%mm:%ss.%Ms", Utc(2024, 3, 3, 10, 15, 30, 999.6), 0, "2024-03-03 10:15:30.999"},
        {"%ss.%Us", Utc(1970, 1, 1, 0, 0, 1, 999.9999), 0, "01.999999"},
        {"%Us|%Ms", Utc(2024, 3, 3, 10, 15, 30, 12.346), 0, "012346|012"},
        {"%HH %H %h", midnight, 0, "12 12 0"},
        {"%HH %H %h %PP", midnight + 12 * 3600e3, 0, "12 12 12 PM"},
        {"%HH %hh %PP", midnight + 9 * 3600e3, 0, "09 09 AM"},
        {"%dayDe, %d. %MonDe", midnight, 0, "Sonntag, 3. März"},
        {"%dayFr %dFr %MonFr %MFr %MDe %dDe %dEn %MEn", midnight, 0, "Dimanche Dim Mars Mar Mär Son Sun Mar"},
        {"%MonFr %MFr %MDe", Utc(2024, 8, 1), 0, "Août Aoû Aug"},
        {"%DoW %DoY %WoY", midnight, 0, "0 62 09"},
        {"%DoY", Utc(2024, 1, 1), 0, "0"},
        // A span of 1 day 1 h 1 min 1 s laid onto the reference's day.
        {"%ad %hh:%mm:%ss", midnight + 90061e3, midnight, "1 01:01:01"},
        {"%ah|%am|%as|%aMs|%aUs", midnight + 90061e3, midnight, "25|1501|90061|90061000|90061000000"},
        {"%ad %hh:%mm:%ss", Utc(2024, 3, 3, 17, 30) + 90061e3, Utc(2024, 3, 3, 17, 30), "1 01:01:01"},
        {"%hh:%mm:%ss", midnight + 5e3, midnight + 5e3, "00:00:00"},
        {"%as %aMs", midnight - 1500, midnight, "-2 -1500"},
        {"%", midnight, 0, "%"},
        {"a%xb%%c%", midnight, 0, "a%xb%c%"},
        {"%yyyy%yy%y", Utc(2005, 6, 7), 0, "200505%y"},
        {"plain", midnight, 0, "plain"},
        {"", midnight, 0, ""},
        // Times the calendar cannot show give fields of 0.
        {"%yyyy %d %Ms", 1e300, 0, "1900 0 000"},
        {"%aMs", 1e300, 0, "9223372036854775807"},
        {"%aMs", NAN, 0, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fmt(c.format, c.time, c.reference), c.expected) << c.format;
}

// With a reference, the fields are those of the reference's local day plus the span,
// in any zone, even across a change of daylight-saving time.
TEST(TCFormatTime, SpanIgnoresDaylightSaving)
{
    TimeZone tz("CET-1CEST,M3.5.0,M10.5.0/3");
    // 23:30 local on the day before the clocks go forward: the span starts at that
    // day's midnight and runs on without the lost hour.
    const double reference = Utc(2024, 3, 30, 22, 30);
    EXPECT_EQ(Fmt("%dd %hh:%mm", reference + 30 * 3600e3, reference), "31 06:00");
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> span(0, 400 * 86400e3);
    for (int i = 0; i < 2000; ++i) {
        const double s = std::floor(span(rng));
        const int64_t ms = int64_t(s);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%lld %02lld:%02lld:%02lld.%03lld", (long long)(ms / 86400000),
                      (long long)(ms / 3600000 % 24), (long long)(ms / 60000 % 60), (long long)(ms / 1000 % 60),
                      (long long)(ms % 1000));
        const double midnight = Utc(2024, 1, 1) - 3600e3; // local midnight
        EXPECT_EQ(Fmt("%ad %hh:%mm:%ss.%Ms", midnight + s, midnight), expected);
    }
}

TEST(TCFormatTime, BufferIsCutAndTerminated)
{
    TimeZone tz("UTC0");
    TCFormatTime f("%yyyy-%MM-%dd");
    const double t = Utc(2024, 3, 3);
    char buffer[16];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(f.Format(buffer, 0, t), 0);
    EXPECT_EQ(f.Format(buffer, -3, t), 0);
    EXPECT_EQ(buffer[0], 'z');
    EXPECT_EQ(f.Format(buffer, 1, t), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(f.Format(buffer, 6, t), 5);
    EXPECT_STREQ(buffer, "2024-");
    EXPECT_EQ(f.Format(buffer, sizeof buffer, t), 10);
    EXPECT_STREQ(buffer, "2024-03-03");

    // The string form holds any length.
    std::string longFormat;
    for (int i = 0; i < 100; ++i)
        longFormat += "%MonFr ";
    EXPECT_EQ(Fmt(longFormat.c_str(), t).size(), 500u);
}

TEST(TCFormatTime, SystemTypesInRankOrder)
{
    using F = TCFormatTime;
    TCFormatTime f("%PP %yyyy-%MM-%dd %hh:%mm:%ss.%Us %WoY %ad %aMs");
    TCArray<F::SystemType> s;
    ASSERT_EQ(f.GetSystem(s), 11);
    EXPECT_EQ(std::vector<F::SystemType>(s.GetData(), s.GetData() + 11),
              (std::vector<F::SystemType>{F::ST_Microsecond, F::ST_Elapsed, F::ST_Second, F::ST_Minute, F::ST_Hour,
                                          F::ST_Day, F::ST_Elapsed, F::ST_WeekOfYear, F::ST_Month, F::ST_Year,
                                          F::ST_None}));
    EXPECT_EQ(TCFormatTime("text").GetSystem(s), 0);
    EXPECT_EQ(s.GetSize(), 0);
}

TEST(TCFormatTime, CalcDiffTimeLow)
{
    TimeZone tz("UTC0");
    const double t = Utc(2024, 3, 13, 10, 15, 30, 250); // a Wednesday
    const double day = 10 * 3600e3 + 15 * 60e3 + 30250;
    const struct { const char* format; double expected; } cases[] = {
        {"%hh:%mm", 30250}, {"%hh", 15 * 60e3 + 30250}, {"%ah", 15 * 60e3 + 30250}, {"%mm:%ss", 250},
        {"%as", 250}, {"%ss.%Ms", 0}, {"%aUs", 0}, {"%dd", day}, {"%WoY", 3 * 86400e3 + day},
        {"%MM", 12 * 86400e3 + day}, {"%yyyy", 72 * 86400e3 + day}, {"%PP%%", t}, {"", t},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TCFormatTime(c.format).CalcDiffTimeLow(t), c.expected) << c.format;
    EXPECT_DOUBLE_EQ(TCFormatTime("%%").CalcDiffTimeLow(t, t - 5), 5);
}

} // namespace
