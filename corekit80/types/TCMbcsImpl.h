#pragma once

// Character rules of the process multibyte code page, which is UTF-8: a character is
// one well-formed UTF-8 sequence, and any byte that does not start one counts as a
// character of its own. Case, white space and digits follow ASCII.

inline bool TCIsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool TCIsDigit(char c) { return c >= '0' && c <= '9'; }
// The value of a hexadecimal digit, or -1.
inline int TCHexDigitValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0'
         : c >= 'a' && c <= 'f' ? c - 'a' + 10
         : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                : -1;
}
inline char TCToUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
inline char TCToLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Bytes of the character at p, which lies before end: 1 to 4.
int TCMbcLen(const char* p, const char* end);

// Whether the character [c, c + n) occurs as a character of the zero-terminated set.
bool TCMbcInSet(const char* c, int n, const char* set);

// Whether position pos of the text [text, end) starts a character.
bool TCMbcIsBoundary(const char* text, int pos, const char* end);

// ASCII case-insensitive comparison as lower case, like the C library's stricmp.
int TCMbsICmp(const char* a, const char* b);
// Locale collation; the no-case form collates lower-case copies.
int TCMbsColl(const char* a, const char* b);
int TCMbsIColl(const char* a, const char* b);

// Reverses [p, p + n) by characters.
void TCMbsRev(char* p, int n);
