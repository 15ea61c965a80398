// Wiring checks: which inputs must be connected before a module may run.
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

int TCPortHelper::CheckWired(unsigned a, unsigned b)
{
    if (m_pImpl->Connected(a) && !m_pImpl->Connected(b))
        return SetErrMsg(-3, PT_INPUT, b, -1);
    return 0;
}

int TCPortHelper::CheckWired(unsigned a, const unsigned* list, unsigned n, CHECK_PT mode)
{
    if (!list || n == 0 || !m_pImpl->Connected(a))
        return 0;
    const unsigned count = unsigned(GetPortCnt(PT_INPUT));
    for (unsigned i = 0; i < n; ++i)
        if (list[i] >= count)
            return 0;
    for (unsigned i = 0; i < n; ++i) {
        const bool wired = m_pImpl->Connected(list[i]) != nullptr;
        if (mode == CP_ALL && !wired)
            return SetErrMsg(-3, PT_INPUT, list[i], -1);
        if (mode != CP_ALL && wired)
            return 0;
    }
    return mode == CP_ALL ? 0 : SetErrMsg(-3, PT_INPUT, list[0], -1);
}

int TCPortHelper::CheckAllOrNoneWired(unsigned a, unsigned b)
{
    const bool wiredA = m_pImpl->Connected(a) != nullptr;
    const bool wiredB = m_pImpl->Connected(b) != nullptr;
    if (wiredA == wiredB)
        return 0;
    return SetErrMsg(-3, PT_INPUT, wiredA ? b : a, -1);
}

bool TCPortHelper::AreObligatoryInputsWired()
{
    if (!m_pImpl->wiringChecks)
        return true;
    for (unsigned i = 0, n = unsigned(GetPortCnt(PT_INPUT)); i < n; ++i)
        if (m_pImpl->inputs[int(i)].obligatory && !m_pImpl->Connected(i)) {
            SetErrMsg(-3, PT_INPUT, i, -1);
            return false;
        }
    return true;
}
