// The millisecond clock of the show and its pauses. Every timed step reads the
// clock here and every pause waits here, so that tests can drive time exactly
// instead of waiting for it.
#pragma once

#include <cstdint>

using ShowClockFunction = uint32_t (*)();
using ShowSleepFunction = void (*)(uint32_t milliseconds);

// Current time in milliseconds; wraps modulo 2^32 like timeGetTime.
uint32_t ShowClock();

// Replaces the clock; null restores timeGetTime.
void SetShowClock(ShowClockFunction clock);

// Pauses the main thread.
void ShowSleep(uint32_t milliseconds);

// Replaces the pause; null restores Sleep.
void SetShowSleep(ShowSleepFunction sleep);
