// Integers and booleans as decimal, hexadecimal and "true"/"false" text.
#include "corekit80/foundation/TCToString.h"

#include <charconv>

char* itoh(char* buffer, unsigned int v)
{
    if (!buffer)
        return buffer;
    int nibbles = 1;
    while (nibbles < 8 && (v >> (4 * nibbles)) != 0)
        ++nibbles;
    for (int i = 0; i < nibbles; ++i)
        buffer[i] = "0123456789abcdef"[(v >> (4 * (nibbles - 1 - i))) & 15];
    buffer[nibbles] = '\0';
    return buffer;
}

TCString ToString(int v)
{
    char text[16];
    char* end = std::to_chars(text, text + sizeof text, v).ptr;
    return TCString(text, int(end - text));
}

const char* ToStaticString(int v)
{
    // One buffer per thread, so that threads do not overwrite each other's text.
    thread_local char text[32];
    *std::to_chars(text, text + sizeof text - 1, v).ptr = '\0';
    return text;
}

const char* ToString(bool v)
{
    return v ? "true" : "false";
}
