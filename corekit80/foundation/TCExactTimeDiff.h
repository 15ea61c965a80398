#pragma once

// TCExactTimeDiff, a stopwatch on the monotonic counter.

#include <cstdint>

#include "corekit80/types/TCExport.h"

// Stopwatch on the monotonic counter. It starts when it is made; Reset stops it.
class TC_EXPORT TCExactTimeDiff {
public:
    TCExactTimeDiff();
    virtual ~TCExactTimeDiff();

    // Starts (again) now.
    void Start();
    // Stops; the stopwatch is then not running.
    virtual void Reset();
    bool Running() const { return m_start != 0; }
    // Milliseconds since Start; 0 when not running.
    double GetTimeDiff() const;

protected:
    // Counter ticks per millisecond.
    static double TicksPerMs();

    int64_t m_start; // counter at Start; 0 = not running
};
