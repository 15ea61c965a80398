#pragma once

// Symbols are hidden by default; TC_EXPORT marks what module libraries and hosts may use.
#define TC_EXPORT __attribute__((visibility("default")))

// printf-style argument checking for formatting functions (index of format, of first argument).
#define TC_PRINTF(fmt, first) __attribute__((format(printf, fmt, first)))
