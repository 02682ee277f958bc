// The millisecond clock of the show. Every timed step reads it here, so that
// tests can drive time exactly instead of waiting for it.
#pragma once

#include <cstdint>

using ShowClockFunction = uint32_t (*)();

// Current time in milliseconds; wraps modulo 2^32 like timeGetTime.
uint32_t ShowClock();

// Replaces the clock; null restores timeGetTime.
void SetShowClock(ShowClockFunction clock);
