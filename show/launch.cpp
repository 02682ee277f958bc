#include "launch.h"

#include "records.h"
#include "screen.h"
#include "show_clock.h"

#include <cstdlib>

namespace {

constexpr uint32_t kLaunchCheckInterval = 100;
constexpr int kLaunchPicks = 20;  // picks of 13 and above launch nothing
constexpr int kStartYBase = 600;
constexpr int kStartYRange = 100;
constexpr int kBurstYRange = 400;
constexpr int kAscentStep = 5;
constexpr uint32_t kLastQuarterDelayBase = 10;
constexpr int kLastQuarterDelayRange = 4;
// The burst opens at the middle of the 20-pixel sprite.
constexpr int kSpriteCenterOffset = 10;

// Exclusive-or: a second draw of the same frame at the same place erases it.
void ToggleSprite(Launcher& launcher)
{
    BlitImage(launcher.x, launcher.y, &launcher.frames[launcher.frameIndex], SRCINVERT);
}

}  // namespace

void LaunchRandomFirework(uint32_t& lastLaunchTime)
{
    const uint32_t now = ShowClock();
    if (now - lastLaunchTime <= kLaunchCheckInterval) {
        return;
    }
    const int pick = rand() % kLaunchPicks;
    if (pick < FireworkCount && launchers[pick].rising == 0 && fireworks[pick].bursting == 0) {
        Launcher& launcher = launchers[pick];
        launcher.x = rand() % kScreenWidth;
        launcher.y = kStartYBase + rand() % kStartYRange;
        launcher.burstX = launcher.x;
        launcher.burstY = rand() % kBurstYRange;
        launcher.riseDistance = launcher.y - launcher.burstY;
        launcher.rising = 1;
        ToggleSprite(launcher);
    }
    lastLaunchTime = now;
}

void StepLaunchers()
{
    for (int i = 0; i < FireworkCount; ++i) {
        Launcher& launcher = launchers[i];
        launcher.checkTime = ShowClock();
        if (launcher.checkTime - launcher.lastStepTime <= launcher.stepDelay || launcher.rising != 1) {
            continue;
        }
        ToggleSprite(launcher);
        if (launcher.y > launcher.burstY) {
            launcher.frameIndex ^= 1;
            launcher.y -= kAscentStep;
        }
        ToggleSprite(launcher);
        if ((launcher.y - launcher.burstY) * 4 < launcher.riseDistance) {
            launcher.stepDelay = kLastQuarterDelayBase + static_cast<uint32_t>(rand() % kLastQuarterDelayRange);
        }
        if (launcher.y <= launcher.burstY) {
            ToggleSprite(launcher);
            Firework& firework = fireworks[i];
            firework.bursting = 1;
            firework.centerX = launcher.burstX + kSpriteCenterOffset;
            firework.centerY = launcher.burstY;
            launcher.rising = 0;
        }
        launcher.lastStepTime = launcher.checkTime;
    }
}
