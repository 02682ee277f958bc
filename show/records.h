// The thirteen fireworks of the show: each is a launcher that rises and a
// burst that reveals a photograph, paired by index.
#pragma once

#include <tovax.h>

#include <cstdint>

constexpr int FireworkCount = 13;

// Side of the square burst photographs.
constexpr int kPhotoSize = 240;

struct Firework {
    int32_t radius;
    int32_t maxRadius;
    int32_t centerX;
    int32_t centerY;
    int32_t sourceCenterX;
    int32_t sourceCenterY;
    int32_t sourceWidth;
    int32_t sourceHeight;
    int32_t colors[kPhotoSize * kPhotoSize];  // column-major, colour references 0x00BBGGRR
    uint8_t bursting;
    uint8_t ringPending;
    uint32_t lastStepTime;
    uint32_t checkTime;
    uint32_t stepDelay;
};

struct Launcher {
    int32_t x;
    int32_t y;
    int32_t burstX;
    int32_t burstY;
    int32_t riseDistance;
    uint8_t rising;
    uint32_t lastStepTime;
    uint32_t checkTime;
    uint32_t stepDelay;
    IMAGE frames[2];  // dim and bright sprite of one rocket colour
    uint8_t frameIndex : 1;
};

extern Firework fireworks[FireworkCount];
extern Launcher launchers[FireworkCount];

extern const int32_t kMaxRadius[FireworkCount];
extern const int32_t kSourceCenterX[FireworkCount];
extern const int32_t kSourceCenterY[FireworkCount];

// Puts firework and launcher `index` into the idle state; draws one random number.
void InitFirework(int index);

// Reads the burst photographs into the colour tables and gives every launcher
// its two sprite frames; draws one random number per launcher.
void LoadShowAssets();
