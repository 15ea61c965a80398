#pragma once

// Envelope, a signal of any length cut down for a plot without losing its peaks.

#include <cstddef>
#include <cstdint>
#include <vector>

// Holds at most a fixed number of buckets of consecutive values, each keeping its smallest
// and its largest value with their times, so that a plot of the kept points shows every
// peak. When the buckets are full, neighbours merge pairwise and each bucket spans twice
// as many values from then on: the memory stays the same however long the signal runs.
// Values that are not finite are counted but not kept.
class Envelope {
public:
    struct Point {
        double t, v;
    };

    // buckets: at least 2, rounded up to an even number.
    explicit Envelope(int buckets);

    void Clear();
    void Add(double t, double v);
    // The values added, finite or not.
    int64_t Count() const { return m_count; }
    // The kept points in time order: per bucket its extremes as they came, one point when
    // they are the same.
    std::vector<Point> Points() const;
    // The extent of the kept points; false when none is kept.
    bool Bounds(double* t0, double* t1, double* v0, double* v1) const;

private:
    struct Bucket {
        Point lo, hi;
        int64_t filled;
    };
    void Halve();

    std::vector<Bucket> m_buckets;
    size_t m_capacity;
    int64_t m_span = 1;  // values a bucket takes
    int64_t m_count = 0;
};
