#pragma once

// Conversion between byte text in a code page or named charset and UTF-16.

#include "corekit80/types/TCExport.h"

// Code-page conversion between byte text and UTF-16 (char16_t). The process multibyte
// code page is UTF-8: code page 0 (TC_CP_ACP) means UTF-8. UTF-8 and UTF-16 are converted
// by our own code; every other code page goes through iconv.
//
// Invalid UTF-8 follows the per-byte rule: wherever the bytes do not begin a complete,
// shortest-form sequence of a scalar value (no surrogates, nothing above U+10FFFF), that
// one byte becomes U+FFFD and decoding resumes at the next byte. So a truncated
// three-byte sequence gives two U+FFFD, and an invalid byte always counts as one
// character. Other code pages do the same for every byte their decoder rejects.
enum : unsigned { TC_CP_ACP = 0, TC_CP_UTF8 = 65001, TC_CP_UTF16LE = 1200, TC_CP_UTF16BE = 1201 };

// Converts srcLen bytes (srcLen < 0: up to the first zero byte, which is not converted) of text in
// the code page to UTF-16 code units. dst == nullptr: returns the number of units the result needs.
// Otherwise converts into dst and returns the number of units written; -1 when dstLen is too small
// or the code page is unknown. Invalid input becomes U+FFFD (one per invalid byte for UTF-8).
// The result never needs more units than srcLen bytes.
TC_EXPORT int TCMultiByteToWideChar(unsigned codePage, const char* src, int srcLen, char16_t* dst, int dstLen);

// UTF-16 (srcLen < 0: zero-terminated) to the code page; same conventions; a lone surrogate becomes
// U+FFFD; a character the code page lacks becomes '?'. The result never needs more than 4 bytes per
// unit, except in the stateful code pages (UTF-7, ISO-2022), whose shift sequences can need more:
// ask for the size first there.
TC_EXPORT int TCWideCharToMultiByte(unsigned codePage, const char16_t* src, int srcLen, char* dst, int dstLen);

// As TCMultiByteToWideChar, with the charset given by its name as an XML declaration or MIME header
// names it ("UTF-8", "ISO-8859-1", "windows-1252", "Shift_JIS", case-insensitive); -1 for an unknown name.
// "UTF-16" takes its byte order from a leading byte-order mark, which is dropped (little-endian
// without one); "Shift_JIS", "GB2312", "Big5" and "KS_C_5601-1987" decode as the Windows code pages
// 932, 936, 950 and 949, as Windows writers mean them.
TC_EXPORT int TCCharsetToWideChar(const char* charset, const char* src, int srcLen, char16_t* dst, int dstLen);

// The iconv name of a Windows code page number (1252 -> "CP1252", 28591 -> "ISO-8859-1", 932 -> "CP932", ...), or nullptr.
TC_EXPORT const char* TCCodePageName(unsigned codePage);
