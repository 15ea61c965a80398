#pragma once

// TCFormatTime, the formatting of absolute and elapsed times by '%' tokens.

#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

struct tm;

// Formats absolute times (ms since 1970, shown in local time) and elapsed times with
// a format language of '%' tokens, among them month and day names in German, English
// and French (UTF-8). The format is parsed once into entries of literal text plus token.
class TC_EXPORT TCFormatTime {
public:
    // The tokens, tried in this order at a '%'; longer tokens come before their prefixes.
    enum TimeFormat {
        TF_None = -1,
        TF_MonDe = 0, // "%MonDe" month name, German
        TF_MonEn,     // "%MonEn" month name, English
        TF_MonFr,     // "%MonFr" month name, French
        TF_dayDe,     // "%dayDe" weekday name, German
        TF_dayEn,     // "%dayEn" weekday name, English
        TF_dayFr,     // "%dayFr" weekday name, French
        TF_yyyy,      // "%yyyy" year, 4 digits
        TF_MDe,       // "%MDe" month, 3 letters, German
        TF_MEn,       // "%MEn" month, 3 letters, English
        TF_MFr,       // "%MFr" month, 3 letters, French
        TF_dDe,       // "%dDe" weekday, 3 letters, German
        TF_dEn,       // "%dEn" weekday, 3 letters, English
        TF_dFr,       // "%dFr" weekday, 3 letters, French
        TF_DoW,       // "%DoW" day of the week, 0 = Sunday
        TF_DoY,       // "%DoY" day of the year, 0 = 1 January
        TF_WoY,       // "%WoY" week of the year, Sunday first (00 ... 53)
        TF_HH,        // "%HH" hour 1 ... 12, 2 digits
        TF_hh,        // "%hh" hour 0 ... 23, 2 digits
        TF_mm,        // "%mm" minute, 2 digits
        TF_ss,        // "%ss" second, 2 digits
        TF_Ms,        // "%Ms" millisecond, 3 digits
        TF_aMs,       // "%aMs" elapsed milliseconds
        TF_Us,        // "%Us" microsecond, 6 digits
        TF_aUs,       // "%aUs" elapsed microseconds
        TF_dd,        // "%dd" day of the month, 2 digits
        TF_MM,        // "%MM" month 1 ... 12, 2 digits
        TF_yy,        // "%yy" year modulo 100, 2 digits
        TF_PP,        // "%PP" AM or PM
        TF_H,         // "%H" hour 1 ... 12
        TF_h,         // "%h" hour 0 ... 23
        TF_ah,        // "%ah" elapsed hours
        TF_m,         // "%m" minute
        TF_am,        // "%am" elapsed minutes
        TF_s,         // "%s" second
        TF_as,        // "%as" elapsed seconds
        TF_d,         // "%d" day of the month
        TF_ad,        // "%ad" elapsed days
        TF_M,         // "%M" month 1 ... 12
        TF_Percent,   // "%%" a single '%'
        TF_Count
    };

    // What part of a time a token shows.
    enum SystemType {
        ST_None = -1,
        ST_Year = 0,
        ST_Elapsed = 1,
        ST_Hour = 2,
        ST_Hour12 = 3,
        ST_Minute = 4,
        ST_Second = 5,
        ST_Millisecond = 6,
        ST_Microsecond = 7,
        ST_Day = 8,
        ST_Month = 9,
        ST_DayOfYear = 10,
        ST_WeekOfYear = 11,
    };

    // Literal text followed by a token (TF_None for none).
    struct FormatEntry {
        TCString text;
        TimeFormat token = TF_None;
    };

    TCFormatTime() = default;
    explicit TCFormatTime(const char* format) { SetFormatString(format); }

    // Parses format; nothing happens when it equals the current one.
    void SetFormatString(const char* format);
    const TCString& GetFormatString() const { return m_format; }
    bool IsEmpty() const { return m_entries.IsEmpty(); }
    const TCArray<FormatEntry>& GetEntries() const { return m_entries; }

    // Writes the text of time (ms since 1970) into buffer, cut at size - 1 bytes and
    // terminated; returns its length (0 for size <= 0). A reference time other than 0
    // shows the span time - reference laid onto the reference's day.
    int Format(char* buffer, int size, const double& time, const double& reference = 0.0) const;
    // The same into a string, which grows to hold the whole text.
    int Format(TCString& out, const double& time, const double& reference = 0.0) const;

    // One-shot formatting.
    static int FormatTime(char* buffer, int size, const char* format, const double& time,
                          const double& reference = 0.0);
    static int FormatTime(TCString& out, const char* format, const double& time,
                          const double& reference = 0.0);

    // The calendar fields shown for time (see Format) and the fraction of its second.
    // Times the calendar cannot show give fields and fraction 0 and the result false.
    static bool CalcTime(struct tm* out, const double& time, const double& reference, double& fraction);

    // The milliseconds of time below the finest unit that the format shows.
    double CalcDiffTimeLow(const double& time, const double& reference = 0.0) const;

    // The system types of the format's tokens, finest first; returns their count.
    int GetSystem(TCArray<SystemType>& systems) const;

    static SystemType GetSystemType(TimeFormat token);
    // 1 (microseconds) ... 9 (years), 10 for tokens that show no unit.
    static int GetRank(TimeFormat token);
    // The token's text, e.g. "%yyyy"; empty for TF_None.
    static const char* GetTokenText(TimeFormat token);

private:
    struct Fields;
    size_t Render(const Fields& f, char* buffer, size_t size) const;

    TCString m_format;
    TCArray<FormatEntry> m_entries;
};
