#pragma once

// CArchive, the framework's buffered binary archive over a CFile.

#include <cstdint>

#include "corekit80/platform/CArchiveException.h"
#include "corekit80/platform/CFile.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

class TCString;

// The framework's buffered binary archive over a CFile, either storing or loading.
// Numbers are written little-endian in their own sizes: bool, char and the 8-bit types
// take 1 byte, the 16-bit types 2, int32_t/uint32_t and float 4, long (64 bits here),
// long long and double 8; values stored as the framework's 32-bit int, LONG or DWORD
// are therefore read and written as int32_t/uint32_t.
//
// Strings carry a length prefix: one byte below 255; else FF and a uint16 below 0xFFFE;
// else FF FFFF and a uint32. Loading also accepts the wide-string marker FF FEFF, followed
// by a length in the same form and that many UTF-16 code units, which become UTF-8.
//
// Loading past the end throws CArchiveException endOfFile; a length beyond the rest of
// the file throws endOfFile before anything is allocated, and a string beyond 2 GiB
// badSchema. Storing into a loading archive throws readOnly, loading from a storing one
// writeOnly, and any use after Close or Abort genericException.
class TC_EXPORT CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // bufSize below 128 counts as 128; a buffer given by the caller stays the caller's.
    CArchive(CFile* file, unsigned mode, int bufSize = 4096, void* buffer = nullptr);
    // Closes the archive (writing what is buffered) unless bNoFlushOnDelete was given or
    // an exception is unwinding, in which case it aborts.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    // The file, positioned where the archive stands: buffered bytes are written out
    // (storing) or given back to the file (loading), so the caller may use it directly.
    CFile* GetFile() const;

    // Storing: writes the buffer to the file. Loading: gives unread buffered bytes back.
    void Flush();
    // Flushes and detaches from the file, which stays open.
    void Close();
    // Detaches from the file without writing the buffer.
    void Abort();

    // Raw bytes. Read returns fewer than max bytes only at the end of the file.
    unsigned Read(void* buffer, unsigned max);
    void Write(const void* buffer, unsigned count);

    // Lines: a line is read up to its '\n', which is dropped with a '\r' before it.
    // false (an empty string) at the end of the file.
    bool ReadString(CString& line);
    // Reads at most max - 1 bytes of a line into buffer, zero-terminated; the rest of a
    // longer line stays for the next read. Null at the end of the file.
    char* ReadString(char* buffer, unsigned max);
    // Writes the text without its terminator and without adding a line end.
    void WriteString(const char* text);

    // String length prefix; charSize becomes 1, or 2 after the wide-string marker.
    void WriteStringLength(uint32_t length);
    uint32_t ReadStringLength(int& charSize);
    // Element counts: a uint16 below 0xFFFF, else FFFF and a uint32.
    void WriteCount(uint32_t count);
    uint32_t ReadCount();

    CArchive& operator<<(bool v);
    CArchive& operator<<(char v);
    CArchive& operator<<(signed char v);
    CArchive& operator<<(unsigned char v);
    CArchive& operator<<(int16_t v);
    CArchive& operator<<(uint16_t v);
    CArchive& operator<<(int32_t v);
    CArchive& operator<<(uint32_t v);
    CArchive& operator<<(long v);
    CArchive& operator<<(unsigned long v);
    CArchive& operator<<(long long v);
    CArchive& operator<<(unsigned long long v);
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    // A text, written as a length-prefixed string.
    CArchive& operator<<(const char* text);
    // Other pointers would silently become bool.
    template <class T> CArchive& operator<<(const T*) = delete;

    CArchive& operator>>(bool& v);
    CArchive& operator>>(char& v);
    CArchive& operator>>(signed char& v);
    CArchive& operator>>(unsigned char& v);
    CArchive& operator>>(int16_t& v);
    CArchive& operator>>(uint16_t& v);
    CArchive& operator>>(int32_t& v);
    CArchive& operator>>(uint32_t& v);
    CArchive& operator>>(long& v);
    CArchive& operator>>(unsigned long& v);
    CArchive& operator>>(long long& v);
    CArchive& operator>>(unsigned long long& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);

    // Writes n bytes as a length-prefixed string.
    void WriteText(const char* p, uint32_t n);

    // Named in the exceptions the archive throws; the file's path at construction.
    CString m_strFileName;

private:
    template <class T> CArchive& Put(T v);
    template <class T> CArchive& Get(T& v);
    void CheckFile() const;
    void CheckStoring() const;
    void CheckLoading() const;
    void ReadExact(void* buffer, unsigned count);
    // Makes at least count bytes available in the buffer if the file holds them;
    // returns the bytes available.
    unsigned Fill(unsigned count) const;
    void Spill() const;
    void Sync() const;
    void CheckRemaining(uint64_t bytes) const;
    template <class S> friend void ReadPrefixed(CArchive& ar, S& s);

    CFile* m_file;
    bool m_loading;
    bool m_noFlushOnDelete;
    bool m_ownsBuffer;
    int m_uncaught;
    unsigned char* m_buffer;
    unsigned m_bufSize;
    // Storing: bytes [0, m_cur) wait to be written. Loading: [m_cur, m_end) are unread.
    mutable unsigned m_cur;
    mutable unsigned m_end;
};

TC_EXPORT CArchive& operator<<(CArchive& ar, const CString& s);
TC_EXPORT CArchive& operator>>(CArchive& ar, CString& s);
TC_EXPORT CArchive& operator<<(CArchive& ar, const TCString& s);
TC_EXPORT CArchive& operator>>(CArchive& ar, TCString& s);
