#include "bursts.h"

#include "records.h"
#include "screen.h"
#include "show_clock.h"

#include <cmath>

namespace {

// Delay after reaching a radius, indexed by radius / 10.
const uint32_t kRingDelay[16] = {5, 5, 5, 5, 5, 6, 25, 25, 25, 25, 55, 55, 55, 55, 55, 0};

constexpr double kAngleStep = 0.01;
constexpr double kAngleEnd = 6.28;
// A component of 32 or less counts as sky and is never copied.
constexpr int32_t kSkyLevel = 32;

bool IsBright(int32_t color)
{
    // The shift is arithmetic: a negative value (not a colour) fails here.
    return (color >> 16) > kSkyLevel && (color & 0xFF00) > (kSkyLevel << 8) && (color & 0xFF) > kSkyLevel;
}

// Colour reference 0x00BBGGRR to pixel 0x00RRGGBB.
uint32_t ToPixel(int32_t color)
{
    const uint32_t value = static_cast<uint32_t>(color);
    return ((value & 0xFFu) << 16) | (value & 0xFF00FF00u) | ((value >> 16) & 0xFFu);
}

void DrawRing(const Firework& firework, uint32_t* pixels)
{
    const double r = firework.radius;
    for (double a = 0.0; a <= kAngleEnd; a += kAngleStep) {
        const double dx = std::cos(a) * r;
        const double dy = std::sin(a) * r;
        // Each sum is rounded to double before truncation, also where the
        // floating-point unit computes wider.
        const double sourceX = firework.sourceCenterX + dx;
        const double sourceY = firework.sourceCenterY - dy;
        const int sx = static_cast<int>(sourceX);
        const int sy = static_cast<int>(sourceY);
        if (sx <= 0 || sx >= firework.sourceWidth || sy <= 0 || sy >= firework.sourceHeight) {
            continue;
        }
        const double screenX = firework.centerX + dx;
        const double screenY = firework.centerY - dy;
        const int px = static_cast<int>(screenX);
        const int py = static_cast<int>(screenY);
        const int32_t color = firework.colors[sx * kPhotoSize + sy];
        if (!IsBright(color)) {
            continue;
        }
        if (px < 1 || px > kScreenWidth - 1 || py < 1 || py > kScreenHeight - 1) {
            continue;
        }
        pixels[py * kScreenWidth + px] = ToPixel(color);
    }
}

}  // namespace

void RenderBursts(uint32_t* pixels)
{
    for (int i = 0; i < FireworkCount; ++i) {
        Firework& firework = fireworks[i];
        firework.checkTime = ShowClock();
        if (firework.checkTime - firework.lastStepTime > firework.stepDelay && firework.bursting == 1) {
            if (firework.radius < firework.maxRadius) {
                ++firework.radius;
                firework.ringPending = 1;
                firework.stepDelay = kRingDelay[firework.radius / 10];
            }
            if (firework.radius >= firework.maxRadius - 1) {
                firework.ringPending = 0;
                InitFirework(i);
            }
            firework.lastStepTime = firework.checkTime;
        }
        if (firework.ringPending == 1) {
            DrawRing(firework, pixels);
            firework.ringPending = 0;
        }
    }
}
