#include "show_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

uint32_t SystemClock() { return timeGetTime(); }

ShowClockFunction currentClock = SystemClock;

}  // namespace

uint32_t ShowClock() { return currentClock(); }

void SetShowClock(ShowClockFunction clock) { currentClock = clock != nullptr ? clock : SystemClock; }
