#pragma once

// TCPropertyCodeSet, a set of item type codes (0 .. 63) as one word.

#include <cstdint>
#include <initializer_list>

struct TCPropertyCodeSet {
    uint64_t bits = 0;

    constexpr TCPropertyCodeSet(std::initializer_list<int> codes)
    {
        for (int code : codes)
            bits |= uint64_t(1) << code;
    }
    constexpr bool Has(int code) const { return code >= 0 && code < 64 && ((bits >> code) & 1u); }
};
