// TCLogFile: opening, filtering, line layout, binary records and splitting.
#include "corekit80/foundation/TCLogFile.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <new>

#include "corekit80/foundation/TCFormatTime.h"
#include "corekit80/foundation/TCSystemTime.h"
#include "corekit80/platform/TCFileSystem.h"
#include "corekit80/platform/TCLogSinkImpl.h"
#include "corekit80/platform/TCThreadIdImpl.h"

namespace {

constexpr const char* kGeneralTypeName = "Logging";
constexpr const char* kLevelBlank = "         ";
constexpr int kLevelWidth = 9;
constexpr int kStampLength = 26; // "yyyy-mm-dd hh:mm:ss.uuuuuu"
constexpr char kLineEnd[] = "\r\n";

// Writes v as exactly n digits, zero-padded, ending before end.
void PutDigits(char* end, int64_t v, int n)
{
    for (; n > 0; --n, v /= 10)
        *--end = char('0' + v % 10);
}

char* Put(char* p, const char* s, size_t n)
{
    std::memcpy(p, s, n);
    return p + n;
}

char* PutSeparator(char* p) { return Put(p, ", ", 2); }

} // namespace

TCLogFile::TCLogFile()
    : m_file(-1), m_typeMask(0), m_levelMask(0), m_flush(false), m_append(false),
      m_generalTypeName(kGeneralTypeName), m_splitSize(0), m_bytesWritten(0), m_stampSecond(INT64_MIN)
{
}

TCLogFile::TCLogFile(const TCLogFile& other) : TCLogFile()
{
    std::lock_guard<std::recursive_mutex> lock(other.m_lock);
    CopyConfiguration(other);
}

TCLogFile& TCLogFile::operator=(const TCLogFile& other)
{
    if (this != &other) {
        std::scoped_lock lock(m_lock, other.m_lock);
        Close();
        CopyConfiguration(other);
    }
    return *this;
}

TCLogFile::~TCLogFile() { Close(); }

void TCLogFile::CopyConfiguration(const TCLogFile& other)
{
    m_typeMask.store(other.m_typeMask.load());
    m_levelMask.store(other.m_levelMask.load());
    m_flush = other.m_flush;
    m_append = other.m_append;
    m_namePattern = other.m_namePattern;
    m_fileName = other.m_fileName;
    for (int i = 0; i < 32; ++i)
        m_typeNames[i] = other.m_typeNames[i];
    m_generalTypeName = other.m_generalTypeName;
    m_splitSize = other.m_splitSize;
}

bool TCLogFile::Open(unsigned long typeMask, unsigned long levelMask, const char* name, bool flush, bool append,
                     int splitKB)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    try {
        TCString pattern(name);
        const char last = pattern.IsEmpty() ? '/' : pattern[pattern.GetLength() - 1];
        if (last == '/' || last == '\\')
            pattern += kDefaultFileName;
        TCString fileName;
        TCFormatTime::FormatTime(fileName, pattern, TCSystemTime());
        if (fileName != m_fileName && IsOpen())
            Close();
        m_namePattern = pattern;
        m_typeMask.store(uint32_t(typeMask));
        m_levelMask.store(uint32_t(levelMask));
        m_flush = flush;
        m_append = append;
        // The size is computed in 32 bits: 2 GiB and more wrap negative and switch splitting off.
        m_splitSize = int32_t(uint32_t(splitKB) * 1024u);
        m_fileName = fileName;
        if (!IsOpen() && !m_fileName.IsEmpty() && !OpenFile(m_fileName))
            return false;
        const TCString converted =
            m_fileName != m_namePattern ? TCString::FormatS(", converted to '%s'", (const char*)m_fileName)
                                        : TCString();
        Log(0, LOG_TRACE, "TCLogFile::Open",
            "logType= %d, logLevel= %d, logFlush= %d, logAppend= %d, logFileName is '%s'%s", int(uint32_t(typeMask)),
            int(uint32_t(levelMask)), int(flush), int(append), (const char*)m_namePattern, (const char*)converted);
        return true;
    } catch (...) {
        return false;
    }
}

bool TCLogFile::Close()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!IsOpen())
        return true;
    try {
        if (IsLogEnabled(0, LOG_TRACE))
            WriteLine(0, LOG_TRACE, "TCLogFile::Close", nullptr);
    } catch (...) {
    }
    return CloseFile();
}

bool TCLogFile::OpenFile(const char* fileName)
{
    m_bytesWritten = 0;
    const int fd = TCLogSinkOpen(TCNativePath(fileName), m_append);
    m_file.store(fd);
    return fd >= 0;
}

bool TCLogFile::CloseFile()
{
    const int fd = m_file.exchange(-1);
    return fd < 0 || TCLogSinkClose(fd);
}

bool TCLogFile::Log(unsigned long type, LOG_LEVEL level, const char* source, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const bool ok = LogV(type, level, source, format, args);
    va_end(args);
    return ok;
}

bool TCLogFile::LogV(unsigned long type, LOG_LEVEL level, const char* source, const char* format, va_list args)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!IsLogEnabled(type, level))
        return false;
    try {
        if (!format)
            format = "";
        if (std::strstr(format, "%lpPtr")) {
            m_format = format;
            m_format.Replace("%lpPtr", "0x%08lx");
            format = m_format;
        }
        m_message.FormatV(format, args);
        ReplaceNonPrintableCharacters(m_message);
        return WriteLine(type, level, source, m_message);
    } catch (...) {
        return false;
    }
}

bool TCLogFile::LogBinary(unsigned long type, LOG_LEVEL level, const char* source, const char* text, int length,
                          const void* data)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!IsLogEnabled(type, level))
        return false;
    const size_t textLength = text ? std::strlen(text) : 0;
    if (textLength == 0 || text[textLength - 1] != '>')
        return false;
    try {
        m_message.Format("%.*s:%d>", int(textLength - 1), text, length);
        MakeLine(type, level, source, m_message, false);
        const TCLogSinkPiece pieces[3] = {
            {(const char*)m_line, size_t(m_line.GetLength())},
            {data, data && length > 0 ? size_t(length) : 0},
            {kLineEnd, 2},
        };
        return Write(pieces, 3) && CheckSplitLogFile();
    } catch (...) {
        return false;
    }
}

bool TCLogFile::IsLogEnabled(unsigned long type, LOG_LEVEL level) const
{
    return IsOpen() && (m_levelMask.load(std::memory_order_relaxed) & uint32_t(level)) != 0 &&
           (type == 0 || (type & m_typeMask.load(std::memory_order_relaxed)) != 0);
}

bool TCLogFile::Write(const TCLogSinkPiece* pieces, int count)
{
    for (int i = 0; i < count; ++i)
        m_bytesWritten += int64_t(pieces[i].size);
    const int fd = m_file.load(std::memory_order_relaxed);
    bool ok = TCLogSinkWrite(fd, pieces, count);
    if (m_flush)
        ok = TCLogSinkSync(fd) && ok;
    return ok;
}

bool TCLogFile::WriteLine(unsigned long type, LOG_LEVEL level, const char* source, const char* message)
{
    MakeLine(type, level, source, message);
    const TCLogSinkPiece line{(const char*)m_line, size_t(m_line.GetLength())};
    return Write(&line, 1) && CheckSplitLogFile();
}

void TCLogFile::MakeLine(unsigned long type, LOG_LEVEL level, const char* source, const char* message,
                         bool lineEnd)
{
    const char* stamp = GetDateTime();
    const TCString& typeName = FormatLogType(type);
    if (!source)
        source = "";
    const size_t sourceLength = std::strlen(source);
    const size_t messageLength = message ? std::strlen(message) : 0;

    // The thread id right-aligned in at least five columns.
    char id[16];
    char* idEnd = id + sizeof id;
    char* idStart = idEnd;
    for (unsigned v = unsigned(TCCurrentThreadId()); idStart == idEnd || v; v /= 10)
        *--idStart = char('0' + v % 10);
    while (idEnd - idStart < 5)
        *--idStart = ' ';
    const size_t idLength = size_t(idEnd - idStart);

    const size_t length = kStampLength + 2 + idLength + 2 + size_t(typeName.GetLength()) + 2 + kLevelWidth + 2 +
                          sourceLength + (messageLength ? 2 + messageLength : 0) + (lineEnd ? 2 : 0);
    if (length >= size_t(INT32_MAX))
        throw std::bad_alloc();
    char* p = m_line.GetBuffer(int(length));
    p = Put(p, stamp, kStampLength);
    p = Put(PutSeparator(p), idStart, idLength);
    p = Put(PutSeparator(p), typeName, size_t(typeName.GetLength()));
    p = Put(PutSeparator(p), FormatLogLevel(level), kLevelWidth);
    p = Put(PutSeparator(p), source, sourceLength);
    if (messageLength)
        p = Put(PutSeparator(p), message, messageLength);
    if (lineEnd)
        Put(p, kLineEnd, 2);
    m_line.ReleaseBuffer(int(length));
}

const char* TCLogFile::GetDateTime()
{
    const double seconds = TCSystemTime() / 1000.0;
    const double whole = std::floor(seconds);
    char* p = m_dateTime.GetBuffer(kStampLength);
    // The date and time change once a second; only the microseconds change per line.
    if (int64_t(whole) != m_stampSecond) {
        m_stampSecond = int64_t(whole);
        tm t;
        double unused;
        TCFormatTime::CalcTime(&t, whole * 1000.0, 0.0, unused);
        std::memcpy(p, "0000-00-00 00:00:00.", 20);
        PutDigits(p + 4, int64_t(t.tm_year) + 1900, 4);
        PutDigits(p + 7, t.tm_mon + 1, 2);
        PutDigits(p + 10, t.tm_mday, 2);
        PutDigits(p + 13, t.tm_hour, 2);
        PutDigits(p + 16, t.tm_min, 2);
        PutDigits(p + 19, t.tm_sec, 2);
    }
    const int64_t us = int64_t((seconds - whole) * 1e6 + 0.5);
    PutDigits(p + kStampLength, us < 999999 ? us : 999999, 6);
    m_dateTime.ReleaseBuffer(kStampLength);
    return m_dateTime;
}

const TCString& TCLogFile::FormatLogType(unsigned long type) const
{
    static const TCString none;
    if (type == 0)
        return m_generalTypeName;
    const int bit = int(std::bit_width(type)) - 1;
    return bit < 32 ? m_typeNames[bit] : none;
}

const char* TCLogFile::FormatLogLevel(LOG_LEVEL level)
{
    switch (level) {
    case LOG_EMERGENCY: return "Emergency";
    case LOG_CRITICAL: return "Critical ";
    case LOG_ERROR: return "Error    ";
    case LOG_WARNING: return "Warning  ";
    case LOG_NOTICE: return "Notice   ";
    case LOG_TRACE: return "Trace    ";
    case LOG_DATA: return "Data     ";
    }
    return kLevelBlank;
}

void TCLogFile::SetLogTypeNames(const char** names, unsigned long count)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    for (unsigned long i = 0; names && i < count && i < 32; ++i)
        m_typeNames[i] = names[i];
    MakeEqualLength();
}

bool TCLogFile::AddLogTypeName(unsigned long type, const char* name)
{
    // log2 of the type: a power of two 2^n gives n, other values their highest bit.
    const int index = int(std::bit_width(type)) - 1;
    if (index < 0 || index >= 32)
        return false;
    if (!name)
        name = "";
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    TCString& slot = m_typeNames[index];
    if (slot.IsEmpty()) {
        slot = name;
        MakeEqualLength();
        return true;
    }
    const size_t n = std::min(size_t(slot.GetLength()), std::strlen(name));
    return std::strncmp(slot, name, n) == 0;
}

void TCLogFile::MakeEqualLength()
{
    int width = 0;
    for (const TCString& name : m_typeNames)
        width = std::max(width, name.GetLength());
    const auto pad = [width](TCString& name) {
        if (name.GetLength() < width)
            name += TCString(' ', width - name.GetLength());
    };
    for (TCString& name : m_typeNames)
        if (!name.IsEmpty())
            pad(name);
    pad(m_generalTypeName);
}

bool TCLogFile::CheckSplitLogFile()
{
    if (m_splitSize <= 0 || m_bytesWritten < m_splitSize)
        return true;
    static constexpr const char* kSource = "TCLogFile::CheckSplitLogFile";
    TCString next;
    TCFormatTime::FormatTime(next, m_namePattern, TCSystemTime());
    m_message.Format("Splitting logfile, next file is '%s'", (const char*)next);
    MakeLine(0, LOG_TRACE, kSource, m_message);
    const TCLogSinkPiece splitting{(const char*)m_line, size_t(m_line.GetLength())};
    bool ok = Write(&splitting, 1);
    ok = CloseFile() && ok;
    if (!ok || !OpenFile(next)) {
        CloseFile();
        return false;
    }
    m_message.Format("Splitted logfile, last file was '%s'", (const char*)m_fileName);
    m_fileName = next;
    MakeLine(0, LOG_TRACE, kSource, m_message);
    const TCLogSinkPiece splitted{(const char*)m_line, size_t(m_line.GetLength())};
    if (Write(&splitted, 1))
        return true;
    CloseFile();
    return false;
}

void TCLogFile::ReplaceNonPrintableCharacters(TCString& text)
{
    if (!std::strpbrk(text, "\r\n\t"))
        return;
    text.Replace("\r", "<\\r>");
    text.Replace("\n", "<\\n>");
    text.Replace("\t", "<\\t>");
}

TCString TCLogFile::GetFileName() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_fileName;
}

TCString TCLogFile::GetNamePattern() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_namePattern;
}
