// Random launches and the ascent of the launcher sprites.
#pragma once

#include <cstdint>

// At most every 100 ms: picks a firework at random and, if it is idle, sends
// its launcher up from a random spot near the bottom of the window.
void LaunchRandomFirework(uint32_t& lastLaunchTime);

// Moves every rising launcher that is due one step up; an arriving launcher
// starts its firework's burst.
void StepLaunchers();
