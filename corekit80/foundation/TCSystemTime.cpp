// TCSystemTime on a calibrated pairing of wall and monotonic clocks; busy waiting.
#include "corekit80/foundation/TCSystemTime.h"

#include <cstdint>

#include "corekit80/platform/TCClockImpl.h"

namespace {

// A wall-clock reading and the monotonic time it belongs to.
struct Calibration {
    int64_t real;
    int64_t monotonic;
};

// Of five readings monotonic / real / monotonic, the one with the shortest bracket
// pins the wall clock closest to a monotonic instant (a preempted reading is wide).
Calibration Calibrate()
{
    Calibration best{0, 0};
    int64_t narrowest = INT64_MAX;
    for (int i = 0; i < 5; ++i) {
        const int64_t before = TCClockMonotonic();
        const int64_t real = TCClockReal();
        const int64_t after = TCClockMonotonic();
        if (after - before < narrowest) {
            narrowest = after - before;
            best = {real, before + (after - before) / 2};
        }
    }
    return best;
}

} // namespace

double TCSystemTime()
{
    static const Calibration calibration = Calibrate();
    const int64_t ns = calibration.real + (TCClockMonotonic() - calibration.monotonic);
    return double(ns) / 1e6;
}

double TCBusyWaiting(double ms)
{
    const int64_t start = TCClockMonotonic();
    const double ticksPerMs = double(kTCCounterFrequency) / 1000.0;
    double passed = 0.0;
    do
        passed = double(TCClockMonotonic() - start) / ticksPerMs;
    while (passed < ms);
    return passed;
}
