// The peaks of a long signal in bounded memory.
#include "Envelope.h"

#include <algorithm>
#include <cmath>

Envelope::Envelope(int buckets) : m_capacity(size_t(std::max(2, buckets + (buckets & 1)))) {}

void Envelope::Clear()
{
    m_buckets.clear();
    m_span = 1;
    m_count = 0;
}

void Envelope::Add(double t, double v)
{
    ++m_count;
    if (!std::isfinite(t) || !std::isfinite(v))
        return;
    if (m_buckets.empty() || m_buckets.back().filled == m_span) {
        if (m_buckets.size() == m_capacity)
            Halve();
        m_buckets.push_back({{t, v}, {t, v}, 0});
    }
    Bucket& b = m_buckets.back();
    if (v < b.lo.v)
        b.lo = {t, v};
    if (v > b.hi.v)
        b.hi = {t, v};
    ++b.filled;
}

// Every bucket is full when this runs, so the merged ones are full at the doubled span.
void Envelope::Halve()
{
    for (size_t i = 0; i < m_capacity / 2; ++i) {
        const Bucket& a = m_buckets[2 * i];
        const Bucket& b = m_buckets[2 * i + 1];
        m_buckets[i] = {b.lo.v < a.lo.v ? b.lo : a.lo, b.hi.v > a.hi.v ? b.hi : a.hi, a.filled + b.filled};
    }
    m_buckets.resize(m_capacity / 2);
    m_span *= 2;
}

std::vector<Envelope::Point> Envelope::Points() const
{
    std::vector<Point> points;
    points.reserve(2 * m_buckets.size());
    for (const Bucket& b : m_buckets) {
        const bool loFirst = b.lo.t <= b.hi.t;
        points.push_back(loFirst ? b.lo : b.hi);
        if (b.lo.t != b.hi.t || b.lo.v != b.hi.v)
            points.push_back(loFirst ? b.hi : b.lo);
    }
    return points;
}

bool Envelope::Bounds(double* t0, double* t1, double* v0, double* v1) const
{
    if (m_buckets.empty())
        return false;
    const Bucket& first = m_buckets.front();
    *t0 = *t1 = first.lo.t;
    *v0 = first.lo.v;
    *v1 = first.hi.v;
    for (const Bucket& b : m_buckets) {
        *t0 = std::min({*t0, b.lo.t, b.hi.t});
        *t1 = std::max({*t1, b.lo.t, b.hi.t});
        *v0 = std::min(*v0, b.lo.v);
        *v1 = std::max(*v1, b.hi.v);
    }
    return true;
}
