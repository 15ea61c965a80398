// UTF-8 character rules: character length, set membership, boundaries, comparison and reversal.
#include "corekit80/types/TCMbcsImpl.h"

#include <algorithm>
#include <cstring>
#include <string>

int TCMbcLen(const char* p, const char* end)
{
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0xC2 || c > 0xF4)
        return 1;
    const int n = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (end - p < n)
        return 1;
    const unsigned char c1 = static_cast<unsigned char>(p[1]);
    // The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
    const unsigned char lo = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
    const unsigned char hi = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
    if (c1 < lo || c1 > hi)
        return 1;
    for (int i = 2; i < n; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
            return 1;
    return n;
}

bool TCMbcInSet(const char* c, int n, const char* set)
{
    const char* end = set + std::strlen(set);
    for (const char* s = set; s < end; s += TCMbcLen(s, end))
        if (TCMbcLen(s, end) == n && std::memcmp(s, c, n) == 0)
            return true;
    return false;
}

bool TCMbcIsBoundary(const char* text, int pos, const char* end)
{
    // Any byte but a continuation byte starts a character; a continuation byte lies
    // inside one when a lead byte at most three bytes back spans it.
    for (int k = 1; k <= 3 && pos - k >= 0; ++k) {
        const char* q = text + pos - k;
        if ((static_cast<unsigned char>(*q) & 0xC0) != 0x80)
            return TCMbcLen(q, end) <= k;
    }
    return true;
}

int TCMbsICmp(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const int ca = static_cast<unsigned char>(TCToLower(*a));
        const int cb = static_cast<unsigned char>(TCToLower(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

int TCMbsColl(const char* a, const char* b) { return std::strcoll(a, b); }

int TCMbsIColl(const char* a, const char* b)
{
    std::string la(a), lb(b);
    std::transform(la.begin(), la.end(), la.begin(), TCToLower);
    std::transform(lb.begin(), lb.end(), lb.begin(), TCToLower);
    return std::strcoll(la.c_str(), lb.c_str());
}

void TCMbsRev(char* p, int n)
{
    // Reverse every character in place, then the whole run: characters come out in
    // reverse order with their bytes in the original order.
    for (int i = 0; i < n;) {
        const int len = TCMbcLen(p + i, p + n);
        std::reverse(p + i, p + i + len);
        i += len;
    }
    std::reverse(p, p + n);
}
