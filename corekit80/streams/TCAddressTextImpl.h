#pragma once

// The text of an address as the stream forms print it: "0x" and the upper-case hex digits,
// zero-padded to the pointer width (the "0x%p" form, independent of the C library).
#include <cstdint>

#include "corekit80/types/TCString.h"

inline void TCAppendAddressText(TCString& text, const void* p)
{
    char buf[2 + 2 * sizeof(void*)];
    auto v = reinterpret_cast<std::uintptr_t>(p);
    buf[0] = '0';
    buf[1] = 'x';
    for (int i = 2 * sizeof(void*) - 1; i >= 0; --i, v >>= 4)
        buf[2 + i] = "0123456789ABCDEF"[v & 0xF];
    text.Append(buf, sizeof buf);
}
