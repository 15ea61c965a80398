#pragma once

// Moments, the running sums behind mean, minimum, maximum and rms.

#include <cstdint>

struct Moments {
    int64_t count = 0;
    double sum = 0;
    double sumOfSquares = 0;
    double min = 0;
    double max = 0;

    void Add(const double* values, int n);
    void Add(const Moments& m);
    double Mean() const { return count ? sum / double(count) : 0; }
    double Rms() const;
};
