// TCExactTimeDiff: start, reset and elapsed milliseconds on the counter.
#include "corekit80/foundation/TCExactTimeDiff.h"

#include "corekit80/platform/TCClockImpl.h"

TCExactTimeDiff::TCExactTimeDiff() : m_start(TCClockCounter()) {}

TCExactTimeDiff::~TCExactTimeDiff() = default;

void TCExactTimeDiff::Start() { m_start = TCClockCounter(); }

void TCExactTimeDiff::Reset() { m_start = 0; }

double TCExactTimeDiff::GetTimeDiff() const
{
    return Running() ? double(TCClockCounter() - m_start) / TicksPerMs() : 0.0;
}

double TCExactTimeDiff::TicksPerMs() { return double(kTCCounterFrequency) / 1000.0; }
