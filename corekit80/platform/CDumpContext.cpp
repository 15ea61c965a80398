// CDumpContext's output of texts and numbers to the debugger output.
#include "corekit80/platform/CDumpContext.h"

#include <charconv>

#include "corekit80/platform/TCDebugOutput.h"

namespace {

template <class T> void WriteNumber(T value)
{
    char text[64];
    auto end = std::to_chars(text, text + sizeof text - 1, value).ptr;
    *end = '\0';
    TCOutputDebugString(text);
}

} // namespace

CDumpContext& CDumpContext::operator<<(const char* text)
{
    TCOutputDebugString(text);
    return *this;
}

CDumpContext& CDumpContext::operator<<(long long value)
{
    WriteNumber(value);
    return *this;
}

CDumpContext& CDumpContext::operator<<(double value)
{
    WriteNumber(value);
    return *this;
}
