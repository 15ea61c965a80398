// Text split at a separator into string arrays.
#include <cstring>
#include <type_traits>

#include "corekit80/archive/ConvertStringToArray.h"
#include "corekit80/archive/ConvertStringToArrayImpl.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

// Position of the first occurrence of sep in [p, end) that starts on a character
// boundary, or null.
const char* FindSeparator(const char* p, const char* end, const char* sep, size_t n)
{
    for (; size_t(end - p) >= n; p += TCMbcLen(p, end))
        if (memcmp(p, sep, n) == 0)
            return p;
    return nullptr;
}

template <class A> int Split(const char* text, A& out, const char* separator, bool keep)
{
    std::vector<std::string_view> parts;
    TCSplitText(text, separator, keep, parts);
    out.RemoveAll();
    out.SetSize(int(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i)
        out[int(i)] = std::remove_reference_t<decltype(out[0])>(parts[i].data(), int(parts[i].size()));
    return out.GetSize();
}

} // namespace

void TCSplitText(const char* text, const char* separator, bool keepSeparator,
                 std::vector<std::string_view>& out)
{
    if (!separator || !*separator) {
        out.emplace_back(text ? text : "");
        return;
    }
    if (!text)
        return;
    size_t n = strlen(separator);
    const char* end = text + strlen(text);
    for (const char* p = text; p < end;) {
        const char* hit = FindSeparator(p, end, separator, n);
        if (!hit) {
            out.emplace_back(p, size_t(end - p));
            return;
        }
        out.emplace_back(p, size_t(hit - p) + (keepSeparator ? n : 0));
        p = hit + n;
    }
}

int ConvertStringToStrArray(const char* text, CStringArray& out, const char* separator,
                            bool keepSeparator)
{
    return Split(text, out, separator, keepSeparator);
}
int ConvertStringToStrArray(const char* text, CArray<CString, CString&>& out,
                            const char* separator, bool keepSeparator)
{
    return Split(text, out, separator, keepSeparator);
}
int ConvertStringToStrArray(const char* text, TCArray<TCString, const TCString&>& out,
                            const char* separator, bool keepSeparator)
{
    return Split(text, out, separator, keepSeparator);
}
