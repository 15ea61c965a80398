// Problems and the formatting of their texts.
#include "HostStatus.h"

#include <cstdarg>
#include <new>

void Problems::Add(HostStatus status, std::string text) { m_list.push_back({status, std::move(text)}); }

void Problems::AddOutOfMemory(HostStatus status) noexcept
{
    try {
        Add(status, "out of memory");
    } catch (const std::bad_alloc&) {
        if (m_outOfMemory == HS_OK)
            m_outOfMemory = status;
    }
}

void Problems::Print(FILE* out) const
{
    for (const Problem& p : m_list)
        if (!p.text.empty())
            std::fprintf(out, "error: %s\n", p.text.c_str());
    if (m_outOfMemory != HS_OK)
        std::fprintf(out, "error: out of memory\n");
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(n > 0 ? size_t(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}
