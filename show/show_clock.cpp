#include "show_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

uint32_t SystemClock() { return timeGetTime(); }

void SystemSleep(uint32_t milliseconds) { Sleep(milliseconds); }

ShowClockFunction currentClock = SystemClock;
ShowSleepFunction currentSleep = SystemSleep;

}  // namespace

uint32_t ShowClock() { return currentClock(); }

void SetShowClock(ShowClockFunction clock) { currentClock = clock != nullptr ? clock : SystemClock; }

void ShowSleep(uint32_t milliseconds) { currentSleep(milliseconds); }

void SetShowSleep(ShowSleepFunction sleep) { currentSleep = sleep != nullptr ? sleep : SystemSleep; }
