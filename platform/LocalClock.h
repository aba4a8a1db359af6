#pragma once
#include "clock/WorldClock.h"

// The machine's clock now, in local time with its daylight saving.
LocalReading ReadLocalClock();
// The same, with the instant it was read as seconds since 1970 in GMT.
LocalReading ReadLocalClock(int64_t& utcSeconds);
