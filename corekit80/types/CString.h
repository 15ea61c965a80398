#pragma once

// CString, the framework's UTF-8 byte string with a stored length.

#include <cstdarg>

#include "corekit80/types/TCExport.h"

// The framework's narrow string class, in the process's multibyte code page (UTF-8).
// It stores its length, so it carries binary content: every operation works on the
// whole stored content, zero bytes included, except the comparisons (Compare,
// CompareNoCase, Collate and the operators), which compare the texts up to the first
// zero byte as strcmp does. Case and white space follow ASCII. Operations with
// character sets (FindOneOf, Span..., Trim... with a set, Tokenize) and MakeReverse step
// by characters: a valid UTF-8 sequence is one character, any other byte one of its own.
//
// Positions out of range are clamped, counts below 0 count as 0 and null pointers as
// empty text; nothing throws except a failed allocation (std::bad_alloc, also for a
// length beyond INT_MAX - 1).
//
// The string owns one heap buffer or none and is nothing but that pointer and two counts,
// so containers may move it bytewise. A string without a buffer reads as "".
class TC_EXPORT CString {
public:
    CString() noexcept : m_pchData(nullptr), m_nDataLength(0), m_nAllocLength(0) {}
    CString(const char* s);
    CString(const unsigned char* s);
    // n bytes from p, zero bytes included.
    CString(const char* p, int n);
    explicit CString(char c, int repeat = 1);
    CString(const CString& s);
    CString(CString&& s) noexcept;
    ~CString();

    CString& operator=(const CString& s);
    CString& operator=(CString&& s) noexcept;
    CString& operator=(const char* s);
    CString& operator=(char c);

    // Length and access.
    int GetLength() const { return m_nDataLength; }
    int GetAllocLength() const { return m_nAllocLength; }
    bool IsEmpty() const { return m_nDataLength == 0; }
    // Releases the buffer.
    void Empty();
    // The byte at i; 0 when i is out of range.
    char GetAt(int i) const { return i >= 0 && i < m_nDataLength ? m_pchData[i] : 0; }
    char operator[](int i) const { return GetAt(i); }
    // Stores c at i; does nothing when i is out of range.
    void SetAt(int i, char c);
    const char* GetString() const { return m_pchData ? m_pchData : ""; }
    operator const char*() const { return GetString(); }

    // Direct access to the buffer. GetBuffer makes room for at least minLength bytes plus
    // the terminator and keeps the content; ReleaseBuffer sets the length to n (n < 0: up to
    // the first zero byte) within the buffer. GetBufferSetLength sets the length to n at
    // once, new bytes being zero.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int n);
    void ReleaseBuffer(int n = -1);
    void ReleaseBufferSetLength(int n) { ReleaseBuffer(n < 0 ? 0 : n); }
    void Preallocate(int n);
    void FreeExtra();
    // Cuts the string to n bytes when it is longer.
    void Truncate(int n);

    void SetString(const char* s);
    void SetString(const char* p, int n);
    void Append(const char* s);
    void Append(const char* p, int n);
    void Append(const CString& s);
    void AppendChar(char c);
    CString& operator+=(const CString& s);
    CString& operator+=(const char* s);
    CString& operator+=(char c);

    // Comparison of the texts: negative, 0 or positive. A null s ranks below every string.
    int Compare(const char* s) const { return CompareText(GetString(), s); }
    int CompareNoCase(const char* s) const;
    int Collate(const char* s) const;
    int CollateNoCase(const char* s) const;
    // strcmp of a and b, where a null pointer ranks below every text.
    static int CompareText(const char* a, const char* b);

    // Extraction.
    CString Mid(int first, int count) const;
    CString Mid(int first) const;
    CString Left(int n) const;
    CString Right(int n) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;
    // The next token after position start, skipping leading characters of set; start moves
    // past the token's delimiter, or becomes -1 (with an empty result) when none is left.
    CString Tokenize(const char* set, int& start) const;

    // Search: a position or -1. A start below 0 counts as 0.
    int Find(char c, int start = 0) const;
    int Find(const char* s, int start = 0) const;
    int ReverseFind(char c) const;
    int FindOneOf(const char* set) const;

    // Modification. Replace and Remove return the number of replacements or removed bytes;
    // Insert and Delete the new length.
    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char c);
    int Insert(int i, char c);
    int Insert(int i, const char* s);
    int Delete(int i, int n = 1);
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(char c);
    CString& Trim(const char* set);
    CString& TrimLeft();
    CString& TrimLeft(char c);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char c);
    CString& TrimRight(const char* set);

    // printf-style formatting; numbers always in the "C" locale. An encoding error of the
    // formatter leaves the string unchanged.
    void Format(const char* fmt, ...) TC_PRINTF(2, 3);
    void FormatV(const char* fmt, va_list args);
    void AppendFormat(const char* fmt, ...) TC_PRINTF(2, 3);
    void AppendFormatV(const char* fmt, va_list args);

private:
    void Assign(const char* p, int n);
    void Reserve(long long n, bool geometric);
    void Reallocate(int alloc);
    void InsertBytes(int i, const char* p, int n);
    bool Owns(const char* p) const;
    int CharLength(int i) const;
    template <class Pred> int SpanOf(int start, Pred inRun) const;
    template <class Pred> CString& TrimLeftWhile(Pred trimmable);
    template <class Pred> CString& TrimRightWhile(Pred trimmable);

    char* m_pchData;
    int m_nDataLength;
    int m_nAllocLength;
};

// Concatenation of the whole contents (a const char* contributes its text).
TC_EXPORT CString operator+(const CString& a, const CString& b);
TC_EXPORT CString operator+(const CString& a, const char* b);
TC_EXPORT CString operator+(const char* a, const CString& b);
TC_EXPORT CString operator+(const CString& a, char b);
TC_EXPORT CString operator+(char a, const CString& b);
TC_EXPORT CString operator+(CString&& a, const CString& b);
TC_EXPORT CString operator+(CString&& a, const char* b);
TC_EXPORT CString operator+(CString&& a, char b);

inline bool operator==(const CString& a, const CString& b) { return CString::CompareText(a, b) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return CString::CompareText(a, b) != 0; }
inline bool operator<(const CString& a, const CString& b) { return CString::CompareText(a, b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return CString::CompareText(a, b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return CString::CompareText(a, b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return CString::CompareText(a, b) >= 0; }
inline bool operator==(const CString& a, const char* b) { return CString::CompareText(a, b) == 0; }
inline bool operator!=(const CString& a, const char* b) { return CString::CompareText(a, b) != 0; }
inline bool operator<(const CString& a, const char* b) { return CString::CompareText(a, b) < 0; }
inline bool operator>(const CString& a, const char* b) { return CString::CompareText(a, b) > 0; }
inline bool operator<=(const CString& a, const char* b) { return CString::CompareText(a, b) <= 0; }
inline bool operator>=(const CString& a, const char* b) { return CString::CompareText(a, b) >= 0; }
inline bool operator==(const char* a, const CString& b) { return CString::CompareText(a, b) == 0; }
inline bool operator!=(const char* a, const CString& b) { return CString::CompareText(a, b) != 0; }
inline bool operator<(const char* a, const CString& b) { return CString::CompareText(a, b) < 0; }
inline bool operator>(const char* a, const CString& b) { return CString::CompareText(a, b) > 0; }
inline bool operator<=(const char* a, const CString& b) { return CString::CompareText(a, b) <= 0; }
inline bool operator>=(const char* a, const CString& b) { return CString::CompareText(a, b) >= 0; }
