// TCWaitTimeout: stepwise sleeps and event waits bounded by the time left.
#include "corekit80/foundation/TCWaitTimeout.h"

#include "corekit80/platform/TCClockImpl.h"
#include "corekit80/platform/TCEvent.h"

TCWaitTimeout::TCWaitTimeout() : m_timeout(0.0), m_sleepStep(kDefaultSleepStep), m_event(nullptr) {}

TCWaitTimeout::TCWaitTimeout(const double& timeout, int sleepStep)
    : m_timeout(timeout), m_sleepStep(sleepStep), m_event(nullptr)
{
}

TCWaitTimeout::TCWaitTimeout(const double& timeout, void* event)
    : m_timeout(timeout), m_sleepStep(kDefaultSleepStep), m_event(event)
{
    if (m_event)
        static_cast<TCEvent*>(m_event)->Reset();
}

void TCWaitTimeout::Set(const double& timeout)
{
    m_timeout = timeout;
    Start();
}

bool TCWaitTimeout::Sleep(int step)
{
    const double rest = GetRest();
    if (!(rest > 0.0))
        return false;
    if (step == -1)
        step = m_sleepStep;
    if (step > rest)
        step = int(rest);
    TCClockSleepMs(step);
    return true;
}

bool TCWaitTimeout::Wait(void* event, unsigned long* result)
{
    const double rest = GetRest();
    if (!(rest > 0.0))
        return false;
    if (!event)
        event = m_event;
    if (!event)
        return false;
    // A time-out beyond the longest finite wait is cut to it.
    const double longest = double(TCEvent::INFINITE_WAIT - 1);
    const unsigned long r = TCEvent::Wait(event, (unsigned long)(rest < longest ? rest : longest));
    if (result)
        *result = r;
    return r == TCEvent::WAIT_SIGNALLED;
}
