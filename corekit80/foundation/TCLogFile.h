#pragma once

// TCLogFile, the filtered text log split into files by size.

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <mutex>

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

struct TCLogSinkPiece;

// A text log file: one line per event with local date and time to the microsecond,
// thread, log type, level, source and message, filtered by a mask of log types and a
// mask of levels, and split into a new file whenever a size limit is reached. The file
// name may hold time tokens of TCFormatTime, so that each file of a split series gets
// its own name. One object may be shared by several threads: every writing operation
// holds the object's recursive lock, so lines are never interleaved. Each line is
// written with one system call and survives a crash of the process; a second writer
// of the same file is refused.
class TC_EXPORT TCLogFile {
public:
    enum LOG_LEVEL {
        LOG_EMERGENCY = 1,
        LOG_CRITICAL = 2,
        LOG_ERROR = 4,
        LOG_WARNING = 8,
        LOG_NOTICE = 16,
        LOG_TRACE = 32,
        LOG_DATA = 64,
    };

    // Name used when Open is given no name or a folder.
    static constexpr const char* kDefaultFileName = "TCLogFile_%yyyy-%MM-%dd_%hh-%mm-%ss.%Us.txt";

    // Closed, both masks 0, no type names, general type name "Logging", no splitting.
    TCLogFile();
    // A copy takes the configuration (masks, flags, names, split size) but not the open
    // file, which has one writer only: it is closed until Open is called on it.
    TCLogFile(const TCLogFile& other);
    TCLogFile& operator=(const TCLogFile& other);
    virtual ~TCLogFile();

    // Configures and opens (see the class comment). name may end with '\\' or '/' to
    // name a folder for the default file name. splitKB > 0 starts a new file after that
    // many KiB (values of 2 GiB and more wrap negative and switch splitting off).
    // Opening the same file again only updates masks and flags. false on failure.
    bool Open(unsigned long typeMask, unsigned long levelMask, const char* name, bool flush = false,
              bool append = false, int splitKB = 0);
    // Writes a trace line and closes; true when closed without error or not open.
    bool Close();

    // Writes one line when type and level are enabled; a "%lpPtr" in format prints a
    // pointer argument as 0x and hex digits. Line breaks and tabs in the message are
    // written as <\r>, <\n> and <\t>. true when written.
    bool Log(unsigned long type, LOG_LEVEL level, const char* source, const char* format, ...) TC_PRINTF(5, 6);
    bool LogV(unsigned long type, LOG_LEVEL level, const char* source, const char* format, va_list args);
    // Writes a line with the message "text:length>" (text must end with '>', which is
    // dropped first), then length raw bytes of data, then a line end.
    bool LogBinary(unsigned long type, LOG_LEVEL level, const char* source, const char* text, int length,
                   const void* data);

    // The file is open, level is in the level mask, and type is 0 or shares a bit with
    // the type mask.
    bool IsLogEnabled(unsigned long type, LOG_LEVEL level) const;

    // Names of log type bits 0 ... min(count, 32) - 1; all names are then padded to one width.
    void SetLogTypeNames(const char** names, unsigned long count);
    // Names the type's highest bit. A slot already named keeps its name; the result then
    // tells whether the names agree over the shorter length.
    bool AddLogTypeName(unsigned long type, const char* name);

    // Carriage return, line feed and tab become <\r>, <\n> and <\t>.
    static void ReplaceNonPrintableCharacters(TCString& text);

    TCString GetFileName() const;
    TCString GetNamePattern() const;

protected:
    bool OpenFile(const char* fileName);
    bool CloseFile();
    // Counts and writes the pieces with one system call; flushes when asked to.
    bool Write(const TCLogSinkPiece* pieces, int count);
    bool WriteLine(unsigned long type, LOG_LEVEL level, const char* source, const char* message);
    // Builds the line in m_line; lineEnd adds carriage return and line feed.
    void MakeLine(unsigned long type, LOG_LEVEL level, const char* source, const char* message,
                  bool lineEnd = true);
    // Local date and time now, "yyyy-mm-dd hh:mm:ss.uuuuuu".
    const char* GetDateTime();
    const TCString& FormatLogType(unsigned long type) const;
    static const char* FormatLogLevel(LOG_LEVEL level);
    void MakeEqualLength();
    bool CheckSplitLogFile();

private:
    bool IsOpen() const { return m_file.load(std::memory_order_relaxed) >= 0; }
    void CopyConfiguration(const TCLogFile& other);

    std::atomic<int> m_file;
    std::atomic<uint32_t> m_typeMask;
    std::atomic<uint32_t> m_levelMask;
    bool m_flush;
    bool m_append;
    TCString m_namePattern;
    TCString m_fileName;
    TCString m_dateTime;
    TCString m_typeNames[32];
    TCString m_generalTypeName;
    TCString m_line;
    TCString m_message;
    TCString m_format;
    mutable std::recursive_mutex m_lock;
    int64_t m_splitSize;
    int64_t m_bytesWritten;
    int64_t m_stampSecond; // the second whose date and time m_dateTime holds
};
