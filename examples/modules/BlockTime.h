#pragma once

// BlockTime, the time of each value of a run, as the writers put it into their files.

#include <cstdint>

class TCTypeInfo;

// Seconds since the first block of a run: a block is placed by its timestamp when it and
// the first block carry one, else right after the values before it, at its sample rate.
class BlockTime {
public:
    void Reset() { *this = BlockTime(); }
    // The time of the block's first value and the step between its values (the inverse of
    // the sample rate, 1 s without one); counts the block's n values.
    double Start(const TCTypeInfo& ti, int n, double* step);

private:
    double m_first = 0;
    int64_t m_values = 0;
    bool m_started = false;
};
