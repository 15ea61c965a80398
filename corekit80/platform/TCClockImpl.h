#pragma once

// The clocks of the timing classes: monotonic, wall, counter and sleeps.

#include <cstdint>

// The clocks of the timing classes. The counter is CLOCK_MONOTONIC in nanoseconds, so
// its frequency is 1e9 ticks per second and its tick counts are absolute times that
// TCClockSleepUntil understands.

constexpr int64_t kTCCounterFrequency = 1000000000;

// Monotonic time in ns; never follows changes of the wall clock.
int64_t TCClockMonotonic();
// Wall-clock time in ns since 1970-01-01 00:00 UTC.
int64_t TCClockReal();

// The counter read by the stopwatch classes: the monotonic clock unless a test has put
// a source of its own in place (the statistics are checked against a scripted counter).
using TCCounterSource = int64_t (*)();
int64_t TCClockCounter();
// Installs source (null: the monotonic clock again); returns the previous one.
TCCounterSource TCClockSetCounterSource(TCCounterSource source);

// Sleeps until the monotonic clock reaches the given time; an interrupted sleep goes on.
void TCClockSleepUntil(int64_t monotonic);
// Sleeps the given milliseconds; nothing for ms <= 0.
void TCClockSleepMs(int ms);
