#include "records.h"

#include "show_clock.h"

#include <cstdlib>

Firework fireworks[FireworkCount];

// The launchers hold images, which need the graphics state: build them after it
// and so destroy them before it.
#ifdef __GNUC__
__attribute__((init_priority(200)))
#endif
Launcher launchers[FireworkCount];

const int32_t kMaxRadius[FireworkCount] = {120, 120, 155, 123, 130, 147, 138, 138, 130, 135, 140, 132, 155};
const int32_t kSourceCenterX[FireworkCount] = {120, 120, 110, 117, 110, 93, 102, 102, 110, 105, 100, 108, 110};
const int32_t kSourceCenterY[FireworkCount] = {120, 120, 85, 118, 120, 103, 105, 110, 110, 120, 120, 104, 85};

namespace {

constexpr int32_t kNowhere = -240;
constexpr uint32_t kIdleRingDelay = 5;
constexpr int kLaunchDelayChoices = 10;

const LPCSTR kPictureType = "IMAGE";
const LPCSTR kBurstStrip = MAKEINTRESOURCEA(103);
const LPCSTR kSpriteSheet = MAKEINTRESOURCEA(104);

constexpr int kSpriteWidth = 20;
constexpr int kSpriteHeight = 50;
constexpr int kRocketColours = 5;
// The bright frame of a rocket lies five cells to the right of its dim frame.
constexpr int kBrightFrameOffset = kRocketColours * kSpriteWidth;

}  // namespace

void InitFirework(int index)
{
    Firework& firework = fireworks[index];
    firework.maxRadius = kMaxRadius[index];
    firework.sourceCenterX = kSourceCenterX[index];
    firework.sourceCenterY = kSourceCenterY[index];
    firework.centerX = 0;
    firework.centerY = 0;
    firework.sourceWidth = kPhotoSize;
    firework.sourceHeight = kPhotoSize;
    firework.bursting = 0;
    firework.stepDelay = kIdleRingDelay;
    firework.lastStepTime = ShowClock();
    firework.radius = 0;

    Launcher& launcher = launchers[index];
    launcher.x = kNowhere;
    launcher.y = kNowhere;
    launcher.burstX = kNowhere;
    launcher.burstY = kNowhere;
    launcher.riseDistance = 0;
    launcher.lastStepTime = ShowClock();
    launcher.stepDelay = static_cast<uint32_t>(rand() % kLaunchDelayChoices);
    launcher.frameIndex = 0;
    launcher.rising = 0;
}

void LoadShowAssets()
{
    IMAGE strip;
    IMAGE cell;
    LoadResourcePicture(&strip, kPictureType, kBurstStrip, 0, 0, false);
    for (int i = 0; i < FireworkCount; ++i) {
        SelectTarget(&strip);
        CopyToImage(&cell, kPhotoSize * i, 0, kPhotoSize, kPhotoSize);
        SelectTarget(&cell);
        int32_t* colors = fireworks[i].colors;
        for (int x = 0; x < kPhotoSize; ++x) {
            for (int y = 0; y < kPhotoSize; ++y) {
                colors[x * kPhotoSize + y] = static_cast<int32_t>(ReadPixel(x, y));
            }
        }
    }

    IMAGE sheet;
    LoadResourcePicture(&sheet, kPictureType, kSpriteSheet, 0, 0, false);
    for (Launcher& launcher : launchers) {
        SelectTarget(&sheet);
        const int colour = rand() % kRocketColours;
        CopyToImage(&launcher.frames[0], kSpriteWidth * colour, 0, kSpriteWidth, kSpriteHeight);
        CopyToImage(&launcher.frames[1], kSpriteWidth * colour + kBrightFrameOffset, 0, kSpriteWidth, kSpriteHeight);
    }
    SelectTarget(nullptr);
}
