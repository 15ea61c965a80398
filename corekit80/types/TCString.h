#pragma once

// TCString, the library's UTF-8 byte string that may carry binary content.

#include <cstdarg>
#include <cstring>

#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"

// The library's byte string in the process's multibyte code page (UTF-8). Its length
// is stored, so it also carries binary content with embedded zero bytes. Some
// operations see the whole stored content, others the text up to the first zero byte.
// The string owns one heap buffer (or none); it is moved bytewise by TCArray, so it
// must stay a plain pointer plus counts.
class TC_EXPORT TCString {
public:
    enum DataFormat { DF_ASCII = 0, DF_BINARY = 1 };

    TCString() { Init(); }
    TCString(char c, int n);
    TCString(const char* s);
    TCString(const unsigned char* s);
    TCString(const char* p, int n);
    TCString(const TCString& s);
    TCString(TCString&& s) noexcept;
    // UTF-16 text; n = -1 means zero-terminated.
    TCString(const char16_t* w, int n = -1);
    ~TCString();

    TCString& operator=(const TCString& s);
    TCString& operator=(TCString&& s) noexcept;
    TCString& operator=(char c);
    TCString& operator=(const char* s);
    TCString& operator=(const unsigned char* s);
    TCString& operator=(const char16_t* w);

    // true releases the buffer; false keeps it, zero-filled, with length 0.
    void Empty(bool freeBuffer = true);

    operator const char*() const { return m_buffer ? m_buffer : s_empty; }

    // Replaces the content by w (n code units, -1: zero-terminated) converted to the
    // code page (0: the process code page). Returns the buffer.
    const char* ToMultibyte(const char16_t* w, int n = -1, unsigned codePage = 0);
    // Replaces the content by s (n bytes, -1: zero-terminated) in the code page
    // converted to UTF-16: 2 bytes per code unit, followed by a zero code unit.
    const char16_t* ToUnicode(const char* s, int n = -1, unsigned codePage = 0);

    // Length, access and buffer.
    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    int GetAllocLength() const { return m_alloc; }
    int SafeStrlen() const { return SafeStrlen(m_buffer); }
    static int SafeStrlen(const char* p);
    char GetAt(int i) const { return i >= 0 && i < m_length ? m_buffer[i] : 0; }
    char operator[](int i) const { return GetAt(i); }
    TCString& SetAt(int i, char c);
    char* GetBuffer(int n = 0);
    TCString& ReleaseBuffer(int n = -1);
    TCString& SetLength(int n) { return ReleaseBuffer(n); }
    char* GetBufferSetLength(int n);
    char* AllocAddBuffer(int n, double growth = 0.0);
    void FreeExtra();
    char* LockBuffer() { return GetBuffer(0); }
    TCString& UnlockBuffer() { return *this; }
    void AllocCopy(const char* p, int n);
    TCString& Append(const char* p, int n)
    {
        // Appending into room that is already there is inline; the rest goes out of line.
        // The members are read once and the length is stored last: the byte stores may
        // alias them, and reading them again would wait for those stores.
        const int length = m_length;
        char* buffer = m_buffer;
        if (p && n > 0 && n < m_alloc - length && !IsInBuffer(p)) {
            std::memcpy(buffer + length, p, static_cast<size_t>(n));
            buffer[length + n] = 0;
            m_length = length + n;
            return *this;
        }
        return AppendSlow(p, n);
    }

    // The string stores no format of its own.
    bool SetDataFormat(DataFormat) { return true; }
    DataFormat GetDataFormat() const { return DF_ASCII; }
    bool IsASCII() const { return true; }
    bool IsBinary() const { return false; }

    // Comparison of the texts; a null argument gives 1.
    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;
    int Collate(const char* s) const;
    int CollateNoCase(const char* s) const;
    // Byte comparison of the whole contents: -1, 0 or 1.
    int CompareBin(const TCString& s) const;

    // Search: a position or -1.
    int Find(char c, int start = 0) const;
    int Find(const char* s, int start = 0) const;
    int FindNoCase(const char* s, int start = 0) const;
    int FindBin(const TCString& s, int start = 0) const;
    int FindOneOf(const char* set) const;
    int FindOneOf(const char* set, int setLength, int start) const;
    int ReverseFind(char c, DataFormat f = DF_ASCII) const;
    int FindStringIndex(const TCString& s, int index, DataFormat f = DF_ASCII) const;
    TCString SpanIncluding(const char* set) const;
    TCString SpanExcluding(const char* set) const;

    // Extraction.
    TCString Mid(int first, int count) const;
    TCString Mid(int first) const;
    TCString Left(int n) const;
    TCString Right(int n, DataFormat f = DF_ASCII) const;
    TCString LeftOf(const TCString& s, int index = 1, DataFormat f = DF_ASCII) const;
    TCString RightOf(const TCString& s, int index = 1, DataFormat f = DF_ASCII) const;
    TCString MidOf(const TCString& a, const TCString& b, DataFormat f = DF_ASCII) const;
    TCString MidOf(const TCString& a, int ia, const TCString& b, int ib,
                   DataFormat f = DF_ASCII) const;

    // Modification.
    TCString& operator+=(const TCString& s);
    TCString& operator+=(char c);
    TCString& operator+=(const char* s);
    int Insert(int i, char c);
    int Insert(int i, const char* s);
    int Delete(int i, int n = 1);
    int Remove(char c);
    int Replace(char a, char b);
    int Replace(const char* a, const char* b);
    TCString& MakeUpper();
    TCString& MakeLower();
    TCString& MakeReverse(DataFormat f = DF_ASCII);
    TCString& TrimLeft();
    TCString& TrimLeft(char c);
    TCString& TrimLeft(const char* set);
    TCString& TrimLeft(const TCString& set, DataFormat f);
    TCString& TrimRight(DataFormat f = DF_ASCII);
    TCString& TrimRight(char c, DataFormat f = DF_ASCII);
    TCString& TrimRight(const char* set);
    TCString& TrimRight(const TCString& set, DataFormat f);

    // printf-style formatting, always in the "C" locale.
    TCString& Format(const char* fmt, ...) TC_PRINTF(2, 3);
    TCString& FormatV(const char* fmt, va_list args);
    TCString& FormatAppend(const char* fmt, ...) TC_PRINTF(2, 3);
    TCString& FormatVAppend(const char* fmt, va_list args);
    static TCString FormatS(const char* fmt, ...) TC_PRINTF(1, 2);
    static TCString FormatVS(const char* fmt, va_list args);
    // Message formatting with %1..%99 inserts (optionally typed: %1!d!), %0, %n, %r,
    // %%, "% ", %. and %!. Returns false and leaves the content when fmt is invalid.
    bool FormatMessage(const char* fmt, ...);

protected:
    void Init() { m_buffer = nullptr; m_length = 0; m_alloc = 0; }
    void AllocBuffer(int n, bool keep);
    bool IsInString(const char* p) const {
        return m_buffer && p >= m_buffer && p < m_buffer + m_length;
    }
    static bool TestNULL(const void* a, const void* b, int& result);
    DataFormat CalcDataFormat() const {
        return SafeStrlen() != m_length ? DF_BINARY : DF_ASCII;
    }
    void ResetDataFormat() {}

private:
    int TextEnd(DataFormat f) const { return f == DF_BINARY ? m_length : SafeStrlen(); }
    void EnsureAlloc(int n);
    template <class Pred> TCString& TrimLeftWhile(Pred trimmable);
    template <class Pred> TCString& TrimRightWhile(Pred trimmable, bool stopAtZero);
    TCString& FormatAt(int offset, const char* fmt, va_list args);
    TCString& Assign(const char* p, int n);
    int InsertBytes(int i, const char* p, int n);
    TCString& AppendSlow(const char* p, int n);
    bool IsInBuffer(const char* p) const { return m_buffer && p >= m_buffer && p < m_buffer + m_alloc; }

    static const char s_empty[1];

    char* m_buffer;
    int m_length;
    int m_alloc;
};

// Binary-safe conversions to and from the framework string class.
TC_EXPORT CString TCString2BinCString(const TCString& s);
TC_EXPORT TCString CString2BinTCString(const CString& s);

// Concatenation: TCString operands give their whole content, const char* their text.
TC_EXPORT TCString operator+(const TCString& a, const TCString& b);
TC_EXPORT TCString operator+(const TCString& a, char b);
TC_EXPORT TCString operator+(char a, const TCString& b);
TC_EXPORT TCString operator+(const TCString& a, const char* b);
TC_EXPORT TCString operator+(const char* a, const TCString& b);

// Comparison of the texts, also against the framework string class. A null const
// char* ranks below every string.
#define TC_TEXT_COMPARISON(op, A, B)                                                               \
    inline bool operator op(A a, B b) { return CString::CompareText(a, b) op 0; }
#define TC_TEXT_COMPARISONS(op)                                                                    \
    TC_TEXT_COMPARISON(op, const TCString&, const TCString&)                                       \
    TC_TEXT_COMPARISON(op, const TCString&, const char*)                                           \
    TC_TEXT_COMPARISON(op, const char*, const TCString&)                                           \
    TC_TEXT_COMPARISON(op, const TCString&, const CString&)                                        \
    TC_TEXT_COMPARISON(op, const CString&, const TCString&)
TC_TEXT_COMPARISONS(==)
TC_TEXT_COMPARISONS(!=)
TC_TEXT_COMPARISONS(<)
TC_TEXT_COMPARISONS(>)
TC_TEXT_COMPARISONS(<=)
TC_TEXT_COMPARISONS(>=)
#undef TC_TEXT_COMPARISONS
#undef TC_TEXT_COMPARISON
