// The running sums of a block or a packet.
#include "Moments.h"

#include <algorithm>
#include <cmath>

void Moments::Add(const double* values, int n)
{
    for (int i = 0; i < n; ++i) {
        const double v = values[i];
        if (count == 0)
            min = max = v;
        min = std::min(min, v);
        max = std::max(max, v);
        sum += v;
        sumOfSquares += v * v;
        ++count;
    }
}

void Moments::Add(const Moments& m)
{
    if (m.count == 0)
        return;
    min = count ? std::min(min, m.min) : m.min;
    max = count ? std::max(max, m.max) : m.max;
    count += m.count;
    sum += m.sum;
    sumOfSquares += m.sumOfSquares;
}

double Moments::Rms() const { return count ? std::sqrt(sumOfSquares / double(count)) : 0; }
