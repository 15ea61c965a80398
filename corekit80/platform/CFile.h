#pragma once

// CFile, the framework's binary file that replaces its target only on a complete save.

#include <cstdint>

#include "corekit80/platform/CFileException.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

// The framework's binary file. Reads and writes go straight to the system (CArchive
// buffers). Failures throw CFileException, except Open, which returns false.
//
// A file opened for writing is written under a temporary name in its directory and
// renamed over the target by Close, so that readers never see half a file: an Abort,
// a failed write or an exception that destroys the object leaves the old file
// untouched and removes the temporary. Without modeCreate, or with modeNoTruncate, the
// temporary starts as a copy of the old content. modeInPlace (not a framework flag)
// writes into the target directly, for files that grow while others read them, such as
// logs. The share flags are accepted and have no effect.
class TC_EXPORT CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
        modeInPlace = 0x1000000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens the file; throws CFileException when that fails.
    CFile(const char* fileName, unsigned openFlags);
    // Closes an open file; during the unwinding of an exception it aborts instead.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // false, with error (when not null) filled, when the file cannot be opened.
    virtual bool Open(const char* fileName, unsigned openFlags, CFileException* error = nullptr);
    // Ends the file; a file written under a temporary name replaces its target now.
    virtual void Close();
    // Ends the file without throwing; a file being written leaves its target untouched.
    virtual void Abort();
    virtual void Flush();

    virtual uint64_t GetPosition() const;
    virtual uint64_t GetLength() const;
    virtual void SetLength(uint64_t newLength);
    // Moves to offset from begin, current or end; returns the new position.
    virtual uint64_t Seek(int64_t offset, unsigned from);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }

    // Reads up to count bytes; fewer only at the end of the file.
    virtual unsigned Read(void* buffer, unsigned count);
    virtual void Write(const void* buffer, unsigned count);

    // The full path given at Open (made absolute), its last component, and that
    // without its extension.
    virtual CString GetFilePath() const;
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(const char* newName);

    static void Rename(const char* oldName, const char* newName);
    static void Remove(const char* fileName);

protected:
    CString m_strFileName;

private:
    void CheckOpen() const;
    [[noreturn]] void ThrowOsError(int error) const;
    bool OpenForReading(const char* path, unsigned flags, int& error);
    bool OpenInPlace(const char* path, unsigned flags, int& error);
    bool OpenTemporary(const char* path, unsigned flags, int& error);
    void Reset();

    int m_fd;
    bool m_readable;
    bool m_writable;
    int m_writeError;       // errno of a failed write: Close must not replace the target
    int m_uncaught;         // exceptions in flight at Open
    CString m_target;       // the file that the temporary replaces
    CString m_temporary;    // empty when writing in place or reading
};
