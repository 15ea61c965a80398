// TCExactTimeDiffPeriodic: the running count, sum, maximum, mean and variance of periods.
#include "corekit80/foundation/TCExactTimeDiffPeriodic.h"

#include <cmath>

TCExactTimeDiffPeriodic::TCExactTimeDiffPeriodic()
    : m_count(0), m_max(0.0), m_sum(0.0), m_average(0.0), m_variance(0.0)
{
}

double TCExactTimeDiffPeriodic::Stop()
{
    if (!Running())
        return 0.0;
    const double d = GetTimeDiff();
    TCExactTimeDiff::Reset();
    const double n = ++m_count;
    m_sum += d;
    if (d > m_max)
        m_max = d;
    m_average = m_sum / n;
    // Running update that weights the previous variance by (1 - 1/n) and measures the
    // new period against the new average.
    m_variance = (1.0 - 1.0 / n) * m_variance + (d - m_average) * (d - m_average) / n;
    return d;
}

void TCExactTimeDiffPeriodic::Reset()
{
    TCExactTimeDiff::Reset();
    m_count = 0;
    m_max = m_sum = m_average = m_variance = 0.0;
}

double TCExactTimeDiffPeriodic::GetStabw() const { return std::sqrt(m_variance); }
