// The greeting's entry point: opens the window, plays the music, shows the
// dedication and then the fireworks until a key is waiting in the console.
#include "tovax.h"

#include <conio.h>
#include <mmsystem.h>

#include <cstdlib>
#include <ctime>

#include "bursts.h"
#include "darken.h"
#include "dedication.h"
#include "launch.h"
#include "records.h"
#include "show_clock.h"
#include "volley.h"

int main()
{
    OpenGraphWindow(1200, 800, 0);
    std::srand(static_cast<unsigned>(_time64(nullptr)));
    PlaySoundA(MAKEINTRESOURCEA(108), nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    ShowDedication();

    uint32_t lastLaunchTime = ShowClock();
    uint32_t lastVolleyTime = ShowClock();
    uint32_t* pixels = GetPixelBuffer(nullptr);
    for (int i = 0; i < FireworkCount; ++i) InitFirework(i);
    LoadShowAssets();
    BeginBatch();

    while (!_kbhit()) {
        Sleep(10);
        DarkenRandomPixels(pixels);
        LaunchRandomFirework(lastLaunchTime);
        StepLaunchers();
        RenderBursts(pixels);
        FireFormationVolley(lastVolleyTime);
        FlushBatch();
    }
    CloseGraphWindow();
    return 0;
}
