// TCWaitPeriodic: sleeping to each grid point, with an optional final spin.
#include "corekit80/foundation/TCWaitPeriodic.h"

#include "corekit80/platform/TCClockImpl.h"

namespace {

// Time kept back from the kernel sleep for the final spin.
constexpr double kSpinMs = 0.4;
// The shortest due time of a timer: 100 ns.
constexpr int64_t kShortestDue = 100;
// Longest period in ticks (about 146 years), so that grid arithmetic cannot overflow.
constexpr double kLongestPeriod = double(int64_t(1) << 62);

int64_t Ticks(double ms, double ticksPerMs)
{
    const double ticks = ms * ticksPerMs;
    return int64_t(ticks < kLongestPeriod ? ticks : kLongestPeriod);
}

} // namespace

TCWaitPeriodic::TCWaitPeriodic() : TCWaitPeriodic(1.0) {}

TCWaitPeriodic::TCWaitPeriodic(double period)
    : m_timer(false), m_nextDue(0), m_ticksPerMs(double(kTCCounterFrequency) / 1000.0), m_period(1.0)
{
    SetWaitTime(period);
}

TCWaitPeriodic::~TCWaitPeriodic() { Stop(); }

void TCWaitPeriodic::SetWaitTime(double period)
{
    if (period > 0.0)
        m_period = period;
}

int64_t TCWaitPeriodic::Start(double period)
{
    SetWaitTime(period);
    m_ticksPerMs = double(kTCCounterFrequency) / 1000.0;
    if (!m_timer) {
        // One shortest sleep lines the start up with the timer's own slack.
        TCClockSleepUntil(TCClockMonotonic() + kShortestDue);
        m_timer = true;
    }
    const int64_t now = TCClockMonotonic();
    m_nextDue = now + Ticks(m_period, m_ticksPerMs);
    return now;
}

double TCWaitPeriodic::Wait(MODE mode, bool busy)
{
    const int64_t now = m_timer ? TCClockMonotonic() : Start(-1.0);
    if (m_nextDue > now) {
        TCClockSleepUntil(m_nextDue - (busy ? Ticks(kSpinMs, m_ticksPerMs) : 0));
        if (busy)
            while (TCClockMonotonic() < m_nextDue) {
            }
    }
    const int64_t wakeUp = TCClockMonotonic();
    if (mode == MODE_RESYNC)
        m_nextDue = wakeUp;
    m_nextDue += Ticks(m_period, m_ticksPerMs);
    return double(wakeUp - now) / m_ticksPerMs;
}

void TCWaitPeriodic::Stop() { m_timer = false; }
