#pragma once

// Shared limits of the block readers and writers (binary records, old-stream text, XML).
#include <cstdint>

#include "corekit80/streams/TCIOStream.h"

namespace TCIOStreamSerialize {

// Blocks nest through BLOCK segments; deeper input is refused rather than risking the
// stack. Writers refuse the same depth, so that whatever they write reads back.
constexpr int kMaxDepth = 64;

// Product of the extents, or -1 when one is negative or the product leaves the int range.
// A shape without dimensions counts 1, as the segment stores it.
inline long long ShapeCount(int dimCount, const int* dims)
{
    long long n = 1;
    for (int i = 0; i < dimCount; ++i) {
        if (dims[i] < 0)
            return -1;
        n *= dims[i];
        if (n > INT32_MAX)
            return -1;
    }
    return n;
}

} // namespace TCIOStreamSerialize
