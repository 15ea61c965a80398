#pragma once

// TCSystemTime, the absolute time in milliseconds, and TCBusyWaiting.

#include "corekit80/types/TCExport.h"

// Current absolute time in milliseconds since 1970-01-01 00:00 UTC with sub-millisecond
// resolution. The wall clock is read once, paired with the monotonic clock; from then
// on the time advances with the monotonic clock and does not follow later changes of
// the wall clock.
TC_EXPORT double TCSystemTime();

// Spins until at least ms milliseconds have passed; returns the milliseconds that passed.
TC_EXPORT double TCBusyWaiting(double ms);
