#pragma once

// TCExactTimeDiffPeriodic, a stopwatch that keeps statistics of a series of periods.

#include <cstdint>

#include "corekit80/foundation/TCExactTimeDiff.h"

// Stopwatch that measures a series of periods (Start ... Stop) and keeps their count,
// sum, maximum, average and variance (ms, ms²).
class TC_EXPORT TCExactTimeDiffPeriodic : public TCExactTimeDiff {
public:
    TCExactTimeDiffPeriodic();

    // Ends the running period and adds it to the statistics; returns its milliseconds.
    // A stopwatch that is not running measures nothing and returns 0.
    double Stop();
    // Stops and clears the statistics.
    void Reset() override;

    int GetCount() const { return m_count; }
    double GetSum() const { return m_sum; }
    double GetAvr() const { return m_average; }
    double GetMax() const { return m_max; }
    // Standard deviation: the square root of the variance.
    double GetStabw() const;

private:
    int32_t m_count;
    double m_max;
    double m_sum;
    double m_average;
    double m_variance;
};
