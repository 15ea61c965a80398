// The clocks: monotonic and wall time, the replaceable counter, and sleeping.
#include "corekit80/platform/TCClockImpl.h"

#include <atomic>
#include <cerrno>
#include <ctime>

namespace {

int64_t ReadClock(clockid_t id)
{
    timespec ts;
    clock_gettime(id, &ts);
    return int64_t(ts.tv_sec) * kTCCounterFrequency + ts.tv_nsec;
}

std::atomic<TCCounterSource> s_counterSource{nullptr};

} // namespace

int64_t TCClockMonotonic() { return ReadClock(CLOCK_MONOTONIC); }

int64_t TCClockReal() { return ReadClock(CLOCK_REALTIME); }

int64_t TCClockCounter()
{
    const TCCounterSource source = s_counterSource.load(std::memory_order_relaxed);
    return source ? source() : TCClockMonotonic();
}

TCCounterSource TCClockSetCounterSource(TCCounterSource source)
{
    return s_counterSource.exchange(source);
}

void TCClockSleepUntil(int64_t monotonic)
{
    if (monotonic <= 0)
        return;
    timespec due;
    due.tv_sec = time_t(monotonic / kTCCounterFrequency);
    due.tv_nsec = long(monotonic % kTCCounterFrequency);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}

void TCClockSleepMs(int ms)
{
    if (ms > 0)
        TCClockSleepUntil(TCClockMonotonic() + int64_t(ms) * 1000000);
}
