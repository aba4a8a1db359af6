#pragma once
#include "clock/WorldClock.h"

// The machine's clock now, in local time with its daylight saving.
LocalReading ReadLocalClock();
