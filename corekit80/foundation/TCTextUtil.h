#pragma once

// Text helpers of the readers and writers: escapes, lines, parameters, numbers, XML to UTF-16.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class CString;

// Text helpers used by the readers and writers of the library: escaping of control
// characters, line stepping, "name = value" lookup, integer scanning and the decoding
// of an XML byte stream into UTF-16.

// out becomes in with control characters and backslashes written as C escapes
// (\n, \t, \\, \x01 ...). Bytes from 0x20 up, 0x7F and above included, stay as they are.
TC_EXPORT TCString& QuoteControlChar(TCString& out, const TCString& in);

// Decodes the C escapes of in into out. Returns false when a sequence was malformed
// (unknown escape, \x without digits, octal value above 255, trailing backslash); out
// still receives the best decoding.
TC_EXPORT bool UnQuoteEscapeChar(TCString& out, const TCString& in);

// Start of the next non-blank line after p (past its line feed, blank lines and
// indentation), or null when there is none.
TC_EXPORT const char* GetLine(const char* p);

// A zero-terminated run of min(n, 100) spaces (none for n <= 0).
TC_EXPORT const char* TCIndentSpaces(int n);

// Looks up a line "name = value" in text; the name is compared case-insensitively as a
// prefix of the line. maxLength -1 gives the rest of that line, trimmed; any other
// value gives up to maxLength bytes after the '=', untrimmed and across lines.
// value is written only when the name is found.
TC_EXPORT bool ParseParam(const char* text, const char* name, TCString& value, int maxLength = -1);
TC_EXPORT bool ParseParam(const char* text, const char* name, CString& value, int maxLength = -1);
// The same with the value read as a decimal integer or a number in the "C" locale.
TC_EXPORT bool ParseParam(const char* text, const char* name, int& value);
TC_EXPORT bool ParseParam(const char* text, const char* name, double& value);

// Reads an integer at p and moves p past it. Base 0 takes "0x"/"0X" as hexadecimal and
// a sign or digit as decimal; any other start gives 0 and leaves p alone. The value has
// the range of long (64 bits); out-of-range text saturates as strtol/strtoul do.
TC_EXPORT long GetNumber(const char*& p, int base = 0);
TC_EXPORT unsigned long GetNumberU(const char*& p, int base = 0);

// Converts an XML byte stream to UTF-16: out holds the code units (GetLength() is twice
// their number) followed by a zero unit; returns its buffer. Text read through a UTF-16
// byte-order mark keeps that zero unit inside the length, which is then the byte count of
// the input, mark included (an odd count made even). The encoding comes from a
// byte-order mark (UTF-8, UTF-16LE, UTF-16BE) or else from the encoding of the XML
// declaration; text without either, or with an encoding that is unknown or cannot be
// that of a declaration readable as ASCII (UTF-16, UTF-32, EBCDIC), is read as UTF-8.
// Malformed input and lone surrogates become U+FFFD.
// The first form reads xml up to its first zero byte; the second reads n bytes (n < 0:
// up to the first zero byte), which UTF-16 input needs.
TC_EXPORT const char16_t* XMLToUnicode(TCString& out, const char* xml);
TC_EXPORT const char16_t* XMLToUnicode(TCString& out, const char* xml, int n);
