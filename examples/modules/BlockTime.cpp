// The time of each value of a run.
#include "BlockTime.h"

#include <corekit80/streams/TCTypeInfo.h>

double BlockTime::Start(const TCTypeInfo& ti, int n, double* step)
{
    if (!m_started) {
        m_started = true;
        m_first = ti.Timestamp;
    }
    *step = ti.Samplerate > 0 ? 1.0 / ti.Samplerate : 1.0;
    const double start = ti.Timestamp > 0 && m_first > 0 ? (ti.Timestamp - m_first) / 1000.0 : double(m_values) * *step;
    m_values += n;
    return start;
}
