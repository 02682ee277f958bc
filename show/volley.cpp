#include "volley.h"

#include "records.h"
#include "show_clock.h"

namespace {

// Burst positions of the heart, in units of 10 pixels.
const int32_t kVolleyX[FireworkCount] = {60, 75, 91, 100, 95, 75, 60, 45, 25, 15, 25, 41, 60};
const int32_t kVolleyY[FireworkCount] = {65, 53, 40, 22, 5, 4, 20, 4, 5, 22, 40, 53, 65};

constexpr uint32_t kVolleyInterval = 20000;
constexpr int kVolleyUnit = 10;
constexpr int kVolleyRiseUnits = 75;  // every launcher rises 750 pixels
constexpr uint32_t kVolleyStepDelay = 7;
constexpr int kSpriteCenterOffset = 10;

}  // namespace

void FireFormationVolley(uint32_t& lastVolleyTime)
{
    const uint32_t now = ShowClock();
    if (now - lastVolleyTime <= kVolleyInterval) {
        return;
    }
    for (int i = 0; i < FireworkCount; ++i) {
        Launcher& launcher = launchers[i];
        Firework& firework = fireworks[i];
        launcher.rising = 1;
        launcher.stepDelay = kVolleyStepDelay;
        launcher.x = launcher.burstX = kVolleyX[i] * kVolleyUnit;
        launcher.burstY = kVolleyY[i] * kVolleyUnit;
        launcher.y = (kVolleyY[i] + kVolleyRiseUnits) * kVolleyUnit;
        launcher.riseDistance = kVolleyRiseUnits * kVolleyUnit;
        BlitImage(launcher.x, launcher.y, &launcher.frames[launcher.frameIndex], SRCINVERT);
        firework.centerX = launcher.x + kSpriteCenterOffset;
        firework.centerY = launcher.burstY;
        firework.bursting = 0;
        firework.radius = 0;
    }
    lastVolleyTime = now;
}
