#pragma once

// TCEvent, a manual- or auto-reset waitable event.

#include <condition_variable>
#include <mutex>

#include "corekit80/types/TCExport.h"

// A waitable event: a flag guarded by a mutex, with a condition variable for the
// waiters. The timing classes take events as void* handles that point to a TCEvent.
// A manual-reset event stays signalled until Reset; an auto-reset event lets one
// waiter through and clears itself.
class TC_EXPORT TCEvent {
public:
    // Results of Wait.
    static constexpr unsigned long WAIT_SIGNALLED = 0;
    static constexpr unsigned long WAIT_TIMEOUT = 258;
    // Wait time that never ends.
    static constexpr unsigned long INFINITE_WAIT = 0xFFFFFFFFUL;

    explicit TCEvent(bool manualReset = true, bool signalled = false);
    TCEvent(const TCEvent&) = delete;
    TCEvent& operator=(const TCEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

    // Waits at most ms milliseconds for the event; WAIT_SIGNALLED or WAIT_TIMEOUT.
    unsigned long Wait(unsigned long ms);

    // The same for a handle; a null handle answers WAIT_TIMEOUT at once.
    static unsigned long Wait(void* handle, unsigned long ms);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled;
    const bool m_manualReset;
};
