#pragma once

// TCWaitPeriodic, waits for the points of a periodic time grid.

#include <cstdint>

#include "corekit80/types/TCExport.h"

// Waits for the points of a periodic grid: a kernel sleep until shortly before each
// point and, when asked, a final spin on the counter for sub-millisecond accuracy.
class TC_EXPORT TCWaitPeriodic {
public:
    enum MODE {
        MODE_FIXED = 0,  // the grid stays where it was started: no drift
        MODE_RESYNC = 1, // the grid moves to each wake-up time
    };

    TCWaitPeriodic();
    explicit TCWaitPeriodic(double period);
    ~TCWaitPeriodic();

    // Sets the period (ms); a period <= 0 is ignored.
    void SetWaitTime(double period);
    double GetWaitTime() const { return m_period; }

    // Starts the grid now; a period > 0 replaces the stored one. Returns the counter
    // at the start.
    int64_t Start(double period = -1.0);
    // Waits for the next grid point (starting the grid first when needed); busy ends
    // the wait with a spin. Returns the milliseconds waited.
    double Wait(MODE mode = MODE_FIXED, bool busy = false);
    // Releases the timer; the next Wait starts again.
    void Stop();

private:
    bool m_timer; // the grid has been started
    int64_t m_nextDue;
    double m_ticksPerMs;
    double m_period;
};
