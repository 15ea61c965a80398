// UnQuoteEscapeChar on any bytes; QuoteControlChar must be undone exactly.
#include <cstdint>
#include <cstring>

#include "corekit80/foundation/TCTextUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TCString in(reinterpret_cast<const char*>(data), int(size));
    TCString out;
    UnQuoteEscapeChar(out, in);
    if (out.GetLength() > in.GetLength())
        __builtin_trap();

    TCString quoted, back;
    QuoteControlChar(quoted, in);
    if (!UnQuoteEscapeChar(back, quoted) || back.GetLength() != in.GetLength() ||
        std::memcmp(static_cast<const char*>(back), data, size) != 0)
        __builtin_trap();
    return 0;
}
