// DeSerializeForOldStream on any bytes. Whatever reads must write a text that reads back
// whole, and from the second pass on the text must not change.
#include <cstdint>

#include "corekit80/streams/TCIOStream.h"

namespace {

TCString Pass(TCIOStream& s, const TCString& text)
{
    if (s.DeSerializeForOldStream(text, text.GetLength()) != text.GetLength())
        __builtin_trap();
    TCString out = s.SerializeForOldStream();
    if (out.IsEmpty())
        __builtin_trap();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCIOStream s;
    s.SetInputStream(3);
    s.AddOutputStream(&s);
    const char* text = reinterpret_cast<const char*>(data);
    int n = s.DeSerializeForOldStream(text, int(size));
    if (n < 0 || size_t(n) > size)
        __builtin_trap();
    if (n == 0)
        return 0;
    TCString first = s.SerializeForOldStream();
    if (first.IsEmpty())
        __builtin_trap();
    TCString second = Pass(s, first);
    if (Pass(s, second).CompareBin(second) != 0)
        __builtin_trap();
    return 0;
}
