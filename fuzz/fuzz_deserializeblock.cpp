// DeSerializeBlock on any bytes. Whatever reads must write a record that reads back to the
// same bytes (the first read settles the type info, so the second pass is exact).
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

std::string Record(TCIOStream& s)
{
    int size = s.SerializeBlock(nullptr, true);
    std::string bytes(size_t(size), '\0');
    if (s.SerializeBlock(bytes.data(), true) != size)
        __builtin_trap();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TCString in(reinterpret_cast<const char*>(data), int(size));
    TCTypeInfo ti;
    ti.DeSerializeWithStatus(in);
    TCIOStream s;
    s.SetInputStream(3);
    s.AddOutputStream(&s);
    int n = s.DeSerializeBlock(in);
    if (n < 0 || size_t(n) > size)
        __builtin_trap();
    if (n == 0)
        return 0;
    std::string first = Record(s);
    if (s.DeSerializeBlock(TCString(first.data(), int(first.size()))) != int(first.size()))
        __builtin_trap();
    std::string second = Record(s);
    if (s.DeSerializeBlock(TCString(second.data(), int(second.size()))) != int(second.size()) ||
        Record(s) != second)
        __builtin_trap();
    return 0;
}
