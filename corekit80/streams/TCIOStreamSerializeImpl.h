#pragma once

// Shared limits of the block readers and writers (binary records, old-stream text, XML).
#include "corekit80/streams/TCIOStream.h"

namespace TCIOStreamSerialize {

// Blocks nest through BLOCK segments; deeper input is refused rather than risking the
// stack. Writers refuse the same depth, so that whatever they write reads back.
constexpr int kMaxDepth = 64;

} // namespace TCIOStreamSerialize
