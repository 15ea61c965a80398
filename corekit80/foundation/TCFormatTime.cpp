// TCFormatTime: parsing the '%' token formats and writing absolute and elapsed times.
#include "corekit80/foundation/TCFormatTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "corekit80/types/TCCLocaleImpl.h"

namespace {

struct TokenInfo {
    const char* text;
    int length;
    TCFormatTime::SystemType system;
    int rank;
};

using ST = TCFormatTime::SystemType;

// In the order of TCFormatTime::TimeFormat, which is the order of matching.
constexpr TokenInfo kTokens[TCFormatTime::TF_Count] = {
    {"%MonDe", 6, ST::ST_Month, 8},       {"%MonEn", 6, ST::ST_Month, 8},
    {"%MonFr", 6, ST::ST_Month, 8},       {"%dayDe", 6, ST::ST_Day, 6},
    {"%dayEn", 6, ST::ST_Day, 6},         {"%dayFr", 6, ST::ST_Day, 6},
    {"%yyyy", 5, ST::ST_Year, 9},         {"%MDe", 4, ST::ST_Month, 8},
    {"%MEn", 4, ST::ST_Month, 8},         {"%MFr", 4, ST::ST_Month, 8},
    {"%dDe", 4, ST::ST_Day, 6},           {"%dEn", 4, ST::ST_Day, 6},
    {"%dFr", 4, ST::ST_Day, 6},           {"%DoW", 4, ST::ST_Day, 6},
    {"%DoY", 4, ST::ST_DayOfYear, 6},     {"%WoY", 4, ST::ST_WeekOfYear, 7},
    {"%HH", 3, ST::ST_Hour12, 5},         {"%hh", 3, ST::ST_Hour, 5},
    {"%mm", 3, ST::ST_Minute, 4},         {"%ss", 3, ST::ST_Second, 3},
    {"%Ms", 3, ST::ST_Millisecond, 2},    {"%aMs", 4, ST::ST_Elapsed, 2},
    {"%Us", 3, ST::ST_Microsecond, 1},    {"%aUs", 4, ST::ST_Elapsed, 1},
    {"%dd", 3, ST::ST_Day, 6},            {"%MM", 3, ST::ST_Month, 8},
    {"%yy", 3, ST::ST_Year, 9},           {"%PP", 3, ST::ST_None, 10},
    {"%H", 2, ST::ST_Hour12, 5},          {"%h", 2, ST::ST_Hour, 5},
    {"%ah", 3, ST::ST_Elapsed, 5},        {"%m", 2, ST::ST_Minute, 4},
    {"%am", 3, ST::ST_Elapsed, 4},        {"%s", 2, ST::ST_Second, 3},
    {"%as", 3, ST::ST_Elapsed, 3},        {"%d", 2, ST::ST_Day, 6},
    {"%ad", 3, ST::ST_Elapsed, 6},        {"%M", 2, ST::ST_Month, 8},
    {"%%", 2, ST::ST_None, 10},
};

constexpr int kRankNone = 10;

const char* const kMonthDe[12] = {"Januar", "Februar", "März", "April", "Mai", "Juni",
                                  "Juli", "August", "September", "Oktober", "November", "Dezember"};
const char* const kMonthEn[12] = {"January", "February", "March", "April", "May", "June",
                                  "July", "August", "September", "October", "November", "December"};
const char* const kMonthFr[12] = {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin",
                                  "Juillet", "Août", "Septembre", "Octobre", "Novembre", "Décembre"};
const char* const kDayDe[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch",
                               "Donnerstag", "Freitag", "Samstag"};
const char* const kDayEn[7] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                               "Thursday", "Friday", "Saturday"};
const char* const kDayFr[7] = {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"};
const char* const kMonDe[12] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const char* const kMonEn[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonFr[12] = {"Jan", "Fév", "Mar", "Avr", "Mai", "Jun",
                                "Jui", "Aoû", "Sep", "Oct", "Nov", "Déc"};
const char* const kDDe[7] = {"Son", "Mon", "Die", "Mit", "Don", "Fre", "Sam"};
const char* const kDEn[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDFr[7] = {"Dim", "Lun", "Mar", "Mer", "Jeu", "Ven", "Sam"};

constexpr double kMsPerDay = 86400000.0;

// Output cut at the buffer's end; total counts what the whole text needs.
struct Writer {
    char* p;
    char* end; // room for text ends here; one byte after it holds the terminator
    size_t total;

    void Put(const char* s, size_t n)
    {
        const size_t room = size_t(end - p);
        const size_t k = n < room ? n : room;
        std::memcpy(p, s, k);
        p += k;
        total += n;
    }
    void Put(const char* s) { Put(s, std::strlen(s)); }
    void Put(char c) { Put(&c, 1); }

    // Decimal, padded with '0' on the left to width characters, a sign included.
    void Number(int64_t v, int width)
    {
        char digits[24];
        char* q = digits + sizeof digits;
        uint64_t u = v < 0 ? 0 - uint64_t(v) : uint64_t(v);
        do {
            *--q = char('0' + u % 10);
            u /= 10;
        } while (u);
        if (v < 0)
            --width;
        for (int n = int(digits + sizeof digits - q); n < width; ++n)
            *--q = '0';
        if (v < 0)
            *--q = '-';
        Put(q, size_t(digits + sizeof digits - q));
    }

    template <size_t N>
    void Name(const char* const (&names)[N], int i)
    {
        if (i >= 0 && size_t(i) < N)
            Put(names[i]);
    }

    // A field as the C library's strftime shows it in the "C" locale.
    void Strftime(const char* format, const tm& t)
    {
        char text[16];
        Put(text, strftime_l(text, sizeof text, format, &t, TCCLocale()));
    }
};

// floor(v) as a 64-bit integer, saturated; NaN gives 0.
int64_t FloorInt(double v)
{
    v = std::floor(v);
    if (!(v == v))
        return 0;
    if (v >= 9.2e18)
        return INT64_MAX;
    if (v <= -9.2e18)
        return INT64_MIN;
    return int64_t(v);
}

// Splits ms into calendar fields (local or UTC) and the fraction of the second; the
// whole seconds are the truncated ones, and a negative fraction counts as 0.
bool Split(double ms, bool local, tm& out, double& fraction)
{
    const double seconds = ms / 1000.0;
    if (std::fabs(seconds) < 1e17) { // also false for NaN
        const double whole = std::trunc(seconds);
        const time_t t = time_t(whole);
        if (local ? localtime_r(&t, &out) : gmtime_r(&t, &out)) {
            fraction = seconds - whole > 0.0 ? seconds - whole : 0.0;
            return true;
        }
    }
    std::memset(&out, 0, sizeof out);
    fraction = 0.0;
    return false;
}

int Hour12(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

int64_t Year(const tm& t) { return int64_t(t.tm_year) + 1900; }

// Milliseconds since the start of the day shown by the fields.
double MsOfDay(const tm& t, double fraction)
{
    return ((t.tm_hour * 60.0 + t.tm_min) * 60.0 + t.tm_sec + fraction) * 1000.0;
}

} // namespace

struct TCFormatTime::Fields {
    tm cal;
    double fraction;
    double elapsed;
};

void TCFormatTime::SetFormatString(const char* format)
{
    if (!format)
        format = "";
    if (m_format == format)
        return;
    m_format = format;
    m_entries.SetSize(-1);
    const char* run = format; // start of the pending literal text
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            ++p;
            continue;
        }
        int token = 0;
        while (token < TF_Count && std::strncmp(p, kTokens[token].text, size_t(kTokens[token].length)) != 0)
            ++token;
        if (token == TF_Count) { // a '%' that starts no token is literal text
            ++p;
            continue;
        }
        FormatEntry& e = m_entries[m_entries.Add(FormatEntry())];
        e.text = TCString(run, int(p - run));
        e.token = TimeFormat(token);
        p += kTokens[token].length;
        run = p;
    }
    if (p > run)
        m_entries[m_entries.Add(FormatEntry())].text = TCString(run, int(p - run));
}

bool TCFormatTime::CalcTime(struct tm* out, const double& time, const double& reference, double& fraction)
{
    tm scratch;
    tm& cal = out ? *out : scratch;
    bool ok;
    if (reference == 0.0) {
        ok = Split(time, true, cal, fraction);
    } else {
        // The span is laid onto the reference's local day. That day's midnight is
        // counted as if the local clock were UTC, so a daylight-saving change within
        // the span does not move the fields.
        tm day;
        double unused;
        ok = Split(reference, true, day, unused);
        if (ok) {
            tm midnight{};
            midnight.tm_year = day.tm_year;
            midnight.tm_mon = day.tm_mon;
            midnight.tm_mday = day.tm_mday;
            ok = Split(double(timegm(&midnight)) * 1000.0 + (time - reference), false, cal, fraction);
        } else {
            Split(NAN, false, cal, fraction);
        }
    }
    cal.tm_isdst = -1;
    return ok;
}

int TCFormatTime::Format(char* buffer, int size, const double& time, const double& reference) const
{
    if (!buffer || size <= 0)
        return 0;
    Fields f;
    CalcTime(&f.cal, time, reference, f.fraction);
    f.elapsed = time - reference;
    const size_t total = Render(f, buffer, size_t(size));
    return int(std::min(total, size_t(size) - 1));
}

int TCFormatTime::Format(TCString& out, const double& time, const double& reference) const
{
    constexpr int kFirstSize = 255;
    Fields f;
    CalcTime(&f.cal, time, reference, f.fraction);
    f.elapsed = time - reference;
    size_t total = Render(f, out.GetBuffer(kFirstSize), kFirstSize + 1);
    if (total > size_t(kFirstSize)) {
        const int length = int(std::min<size_t>(total, INT32_MAX - 1));
        total = Render(f, out.GetBuffer(length), size_t(length) + 1);
    }
    out.ReleaseBuffer(int(std::min<size_t>(total, INT32_MAX - 1)));
    return out.GetLength();
}

size_t TCFormatTime::Render(const Fields& f, char* buffer, size_t size) const
{
    Writer w{buffer, buffer + size - 1, 0};
    const tm& t = f.cal;
    for (const FormatEntry& e : m_entries) {
        w.Put(e.text, size_t(e.text.GetLength()));
        switch (e.token) {
        case TF_None: break;
        case TF_MonDe: w.Name(kMonthDe, t.tm_mon); break;
        case TF_MonEn: w.Name(kMonthEn, t.tm_mon); break;
        case TF_MonFr: w.Name(kMonthFr, t.tm_mon); break;
        case TF_dayDe: w.Name(kDayDe, t.tm_wday); break;
        case TF_dayEn: w.Name(kDayEn, t.tm_wday); break;
        case TF_dayFr: w.Name(kDayFr, t.tm_wday); break;
        case TF_yyyy: w.Number(Year(t), 4); break;
        case TF_MDe: w.Name(kMonDe, t.tm_mon); break;
        case TF_MEn: w.Name(kMonEn, t.tm_mon); break;
        case TF_MFr: w.Name(kMonFr, t.tm_mon); break;
        case TF_dDe: w.Name(kDDe, t.tm_wday); break;
        case TF_dEn: w.Name(kDEn, t.tm_wday); break;
        case TF_dFr: w.Name(kDFr, t.tm_wday); break;
        case TF_DoW: w.Number(t.tm_wday, 1); break;
        case TF_DoY: w.Number(t.tm_yday, 1); break;
        case TF_WoY: w.Strftime("%U", t); break;
        case TF_HH: w.Number(Hour12(t.tm_hour), 2); break;
        case TF_hh: w.Number(t.tm_hour, 2); break;
        case TF_mm: w.Number(t.tm_min, 2); break;
        case TF_ss: w.Number(t.tm_sec, 2); break;
        case TF_Ms: w.Number(std::min(int64_t(f.fraction * 1e3 + 0.5), int64_t(999)), 3); break;
        case TF_aMs: w.Number(FloorInt(f.elapsed), 1); break;
        case TF_Us: w.Number(std::min(int64_t(f.fraction * 1e6 + 0.5), int64_t(999999)), 6); break;
        case TF_aUs: w.Number(FloorInt(f.elapsed * 1000.0), 1); break;
        case TF_dd: w.Number(t.tm_mday, 2); break;
        case TF_MM: w.Number(t.tm_mon + 1, 2); break;
        case TF_yy: w.Number((Year(t) % 100 + 100) % 100, 2); break;
        case TF_PP: w.Strftime("%p", t); break;
        case TF_H: w.Number(Hour12(t.tm_hour), 1); break;
        case TF_h: w.Number(t.tm_hour, 1); break;
        case TF_ah: w.Number(FloorInt(f.elapsed / 1000.0 / 3600.0), 1); break;
        case TF_m: w.Number(t.tm_min, 1); break;
        case TF_am: w.Number(FloorInt(f.elapsed / 1000.0 / 60.0), 1); break;
        case TF_s: w.Number(t.tm_sec, 1); break;
        case TF_as: w.Number(FloorInt(f.elapsed / 1000.0), 1); break;
        case TF_d: w.Number(t.tm_mday, 1); break;
        case TF_ad: w.Number(FloorInt(f.elapsed / 1000.0 / 3600.0 / 24.0), 1); break;
        case TF_M: w.Number(t.tm_mon + 1, 1); break;
        case TF_Percent: w.Put('%'); break;
        case TF_Count: break;
        }
    }
    *w.p = 0;
    return w.total;
}

int TCFormatTime::FormatTime(char* buffer, int size, const char* format, const double& time,
                             const double& reference)
{
    return TCFormatTime(format).Format(buffer, size, time, reference);
}

int TCFormatTime::FormatTime(TCString& out, const char* format, const double& time, const double& reference)
{
    return TCFormatTime(format).Format(out, time, reference);
}

double TCFormatTime::CalcDiffTimeLow(const double& time, const double& reference) const
{
    int finest = kRankNone;
    for (const FormatEntry& e : m_entries)
        finest = std::min(finest, GetRank(e.token));
    tm t;
    double fraction;
    CalcTime(&t, time, reference, fraction);
    switch (finest) {
    case 1:
    case 2: return 0.0;
    case 3: return fraction * 1000.0;
    case 4: return (t.tm_sec + fraction) * 1000.0;
    case 5: return ((t.tm_min * 60.0) + t.tm_sec + fraction) * 1000.0;
    case 6: return MsOfDay(t, fraction);
    case 7: return t.tm_wday * kMsPerDay + MsOfDay(t, fraction);
    case 8: return (t.tm_mday - 1) * kMsPerDay + MsOfDay(t, fraction);
    case 9: return t.tm_yday * kMsPerDay + MsOfDay(t, fraction);
    default: return time - reference;
    }
}

int TCFormatTime::GetSystem(TCArray<SystemType>& systems) const
{
    TCArray<TimeFormat> tokens;
    for (const FormatEntry& e : m_entries)
        if (e.token != TF_None)
            tokens.Add(e.token);
    std::stable_sort(tokens.begin(), tokens.end(),
                     [](TimeFormat a, TimeFormat b) { return GetRank(a) < GetRank(b); });
    systems.SetSize(tokens.GetSize());
    for (int i = 0; i < tokens.GetSize(); ++i)
        systems[i] = GetSystemType(tokens[i]);
    return systems.GetSize();
}

TCFormatTime::SystemType TCFormatTime::GetSystemType(TimeFormat token)
{
    return token >= 0 && token < TF_Count ? kTokens[token].system : ST_None;
}

int TCFormatTime::GetRank(TimeFormat token)
{
    return token >= 0 && token < TF_Count ? kTokens[token].rank : kRankNone;
}

const char* TCFormatTime::GetTokenText(TimeFormat token)
{
    return token >= 0 && token < TF_Count ? kTokens[token].text : "";
}
