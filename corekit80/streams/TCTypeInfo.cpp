// TCTypeInfo: construction, status names, diagnostic text and archive lines.
#include "corekit80/streams/TCTypeInfo.h"

#include <climits>
#include <cmath>
#include <ctime>

#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCSI_Convert.h"
#include "corekit80/platform/CArchive.h"
#include "corekit80/streams/TCSerializeHelper.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

const char* const kStateNames[] = {"INVALID", "START", "BUSY", "STOP", "COMPLETE"};
// The diagnostic text names a whole sequence in one block after its two marks.
const char* const kDiagnosticStateNames[] = {"INVALID", "START", "BUSY", "STOP", "START_STOP"};

const char* StateName(const char* const* names, int s)
{
    return s >= TCBS_INVALID && s <= TCBS_COMPLETE ? names[s + 1] : "UNKNOWN";
}

// "Www Mmm dd hh:mm:ss yyyy" in local time, or "-" when the whole seconds are not a
// positive 32-bit time.
TCString TimeText(double timestamp)
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    double seconds = std::trunc(timestamp / 1000);
    if (!(seconds > 0 && seconds <= INT32_MAX))
        return TCString("-");
    time_t t = static_cast<time_t>(seconds);
    struct tm tm;
    if (!localtime_r(&t, &tm))
        return TCString("-");
    return TCString::FormatS("%s %s %02d %02d:%02d:%02d %d", days[tm.tm_wday], months[tm.tm_mon],
                             tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
}

[[noreturn]] void ThrowEndOfFile(CArchive& ar)
{
    throw CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
}

void ReadLine(CArchive& ar, CString& line)
{
    if (!ar.ReadString(line))
        ThrowEndOfFile(ar);
}

double ReadNumber(CArchive& ar)
{
    CString line;
    ReadLine(ar, line);
    const char* text = line;
    char* end = nullptr;
    double v = StringToDouble(text, &end);
    if (end == text)
        ThrowEndOfFile(ar);
    return v;
}

} // namespace

TCTypeInfo::TCTypeInfo() { Init(); }
TCTypeInfo::TCTypeInfo(const TCTypeInfo& ti) = default;
TCTypeInfo& TCTypeInfo::operator=(const TCTypeInfo& ti) = default;
TCTypeInfo::~TCTypeInfo() = default;

void TCTypeInfo::Init()
{
    Name.Empty();
    Timestamp = 0.0;
    Samplerate = 1.0;
    Unit.clear();
    Min = 0.0;
    Max = 1.0;
    State = TCBS_INVALID;
}

const char* TCTypeInfo::BlockStateToString(TCBLOCKSTATUS s)
{
    return StateName(kStateNames, s);
}

TCBLOCKSTATUS TCTypeInfo::StringToBlockState(const char* text)
{
    if (text) {
        for (int i = 0; i < 5; ++i) {
            if (TCMbsICmp(text, kStateNames[i]) == 0)
                return TCBLOCKSTATUS(i - 1);
        }
    }
    return TCBLOCKSTATUS(-2);
}

int TCTypeInfo::SplitStat(int status, int count, int index)
{
    return TCBlockStatus::Split(status, count, index);
}

TCString TCTypeInfo::ConvertToString(int maxLen) const
{
    TCString unit;
    Unit.GetString(unit);
    if (unit.IsEmpty())
        unit = "-";
    TCString text = TCString::FormatS(
        "State= %d (%s), Name= %s, TS= %.0f (%s), SR= %.1f, Min= %.9g, Max= %.9g, Unit= %s\r\n",
        int(State), StateName(kDiagnosticStateNames, State), static_cast<const char*>(Name),
        Timestamp, static_cast<const char*>(TimeText(Timestamp)), Samplerate, Min, Max,
        static_cast<const char*>(unit));
    return maxLen == -1 ? text : text.Left(maxLen);
}

int TCTypeInfo::SerializeWithStatus(char* buffer) const
{
    return TCSerializeHelper::SerializeWithStatus(buffer, *this);
}

void TCTypeInfo::DeSerializeWithStatus(const TCString& text)
{
    const char* p = text;
    TCSerializeHelper::DeSerializeWithStatus(*this, p, p + text.GetLength());
}

void TCTypeInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        TCString unit;
        Unit.GetString(unit);
        TCString lines = TCString::FormatS("%.0lf\n%lf\n%le\n%s\n%lg\n%lg\n", Timestamp,
                                           Samplerate, Unit.factor,
                                           static_cast<const char*>(unit), Min, Max);
        ar.WriteString(lines);
        ar.WriteString(Name);
        ar.WriteString("\n");
        return;
    }
    Timestamp = ReadNumber(ar);
    Samplerate = ReadNumber(ar);
    double factor = ReadNumber(ar);
    CString unit;
    ReadLine(ar, unit);
    TCSI_Convert().scan(unit, Unit);
    Unit.factor = factor;
    Min = ReadNumber(ar);
    Max = ReadNumber(ar);
    ReadLine(ar, Name);
}
