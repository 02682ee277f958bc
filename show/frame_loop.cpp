#include "frame_loop.h"

#include <tovax.h>

#include "bursts.h"
#include "darken.h"
#include "launch.h"
#include "records.h"
#include "show_clock.h"
#include "show_input.h"
#include "volley.h"

namespace {

constexpr uint32_t kFramePause = 10;

}  // namespace

uint32_t* PrepareShow(uint32_t& lastLaunchTime, uint32_t& lastVolleyTime)
{
    lastLaunchTime = ShowClock();
    lastVolleyTime = ShowClock();
    uint32_t* pixels = GetPixelBuffer(nullptr);
    for (int i = 0; i < FireworkCount; ++i) InitFirework(i);
    LoadShowAssets();
    BeginBatch();
    return pixels;
}

void PlayFrame(uint32_t* pixels, uint32_t& lastLaunchTime, uint32_t& lastVolleyTime)
{
    ShowSleep(kFramePause);
    DarkenRandomPixels(pixels);
    LaunchRandomFirework(lastLaunchTime);
    StepLaunchers();
    RenderBursts(pixels);
    FireFormationVolley(lastVolleyTime);
    FlushBatch();
}

void PlayShow(uint32_t* pixels, uint32_t& lastLaunchTime, uint32_t& lastVolleyTime)
{
    while (!ShowKeyWaiting()) PlayFrame(pixels, lastLaunchTime, lastVolleyTime);
}
