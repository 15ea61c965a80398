// TCEvent: setting, resetting and waiting on a mutex and condition variable.
#include "corekit80/platform/TCEvent.h"

#include <chrono>

TCEvent::TCEvent(bool manualReset, bool signalled)
    : m_signalled(signalled), m_manualReset(manualReset)
{
}

void TCEvent::Set()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = true;
    }
    // An auto-reset event releases one waiter only.
    if (m_manualReset)
        m_changed.notify_all();
    else
        m_changed.notify_one();
}

void TCEvent::Reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_signalled = false;
}

bool TCEvent::IsSet() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_signalled;
}

unsigned long TCEvent::Wait(unsigned long ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto signalled = [this] { return m_signalled; };
    if (ms == INFINITE_WAIT)
        m_changed.wait(lock, signalled);
    else if (!m_changed.wait_until(lock, std::chrono::steady_clock::now() + std::chrono::milliseconds(ms),
                                   signalled))
        return WAIT_TIMEOUT;
    if (!m_manualReset)
        m_signalled = false;
    return WAIT_SIGNALLED;
}

unsigned long TCEvent::Wait(void* handle, unsigned long ms)
{
    return handle ? static_cast<TCEvent*>(handle)->Wait(ms) : WAIT_TIMEOUT;
}
