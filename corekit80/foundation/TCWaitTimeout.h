#pragma once

// TCWaitTimeout, a time-out that sleeps or waits on an event for the time left.

#include <cstdint>

#include "corekit80/foundation/TCExactTimeDiff.h"

// Time-out helper: started with a time-out, it sleeps in steps or waits on an event
// (a TCEvent handed over as void*) for at most the time that is left.
class TC_EXPORT TCWaitTimeout : public TCExactTimeDiff {
public:
    // Sleep step used when none is given.
    static constexpr int kDefaultSleepStep = 1;

    // Starts now with a time-out of 0.
    TCWaitTimeout();
    // Starts now with a time-out (ms) and a sleep step (ms).
    TCWaitTimeout(const double& timeout, int sleepStep);
    // Starts now with a time-out (ms) and an event, which is reset.
    TCWaitTimeout(const double& timeout, void* event);

    // Restarts now with a new time-out.
    void Set(const double& timeout);

    double GetExpired() const { return GetTimeDiff(); }
    double GetTimeout() const { return m_timeout; }
    // Time-out minus the time that has passed (ms).
    double GetRest() const { return m_timeout - GetExpired(); }

    // Sleeps one step, -1 meaning the stored one, cut to the rest of the time-out.
    // false when the time-out has expired (then it does not sleep).
    bool Sleep(int step = -1);
    // Waits on event (null: the stored one) for at most the rest of the time-out.
    // result, when given, receives the wait result (0 signalled, 258 timed out).
    // true when the event was signalled; false when the time-out has expired or there
    // is no event.
    bool Wait(void* event = nullptr, unsigned long* result = nullptr);

private:
    double m_timeout;
    int32_t m_sleepStep;
    void* m_event;
};
