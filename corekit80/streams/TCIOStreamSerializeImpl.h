#pragma once

// Shared limits of the block readers and writers (binary records, old-stream text, XML).
#include <new>

#include "corekit80/streams/TCIOStream.h"

namespace TCIOStreamSerialize {

// Blocks nest through BLOCK segments; deeper input is refused rather than risking the
// stack. Writers refuse the same depth, so that whatever they write reads back.
constexpr int kMaxDepth = 64;

// Whether SetData takes this shape; it fails on a shape it takes only for lack of memory.
bool ShapeTaken(TCIOStream::DATATYPE type, int dimCount, const int* dims, bool copy);

// SetData for the readers: false for a shape it refuses; a shape it takes but could not
// allocate throws std::bad_alloc, so that a lack of memory is not reported as bad input.
inline bool SetReadData(TCIOStream::DataSegment& seg, TCIOStream::DATATYPE type, int dimCount, const int* dims,
                        const void* data, bool copy)
{
    if (seg.SetData(type, dimCount, dims, data, copy))
        return true;
    if (ShapeTaken(type, dimCount, dims, copy))
        throw std::bad_alloc();
    return false;
}

} // namespace TCIOStreamSerialize
