// The greeting's entry point: opens the window, plays the music, shows the
// dedication and then the fireworks until a key is waiting in the console.
#include "tovax.h"

#include <mmsystem.h>

#include <cstdlib>
#include <ctime>

#include "dedication.h"
#include "frame_loop.h"

int main()
{
    OpenGraphWindow(1200, 800, 0);
    std::srand(static_cast<unsigned>(_time64(nullptr)));
    PlaySoundA(MAKEINTRESOURCEA(108), nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    ShowDedication();

    uint32_t lastLaunchTime = 0;
    uint32_t lastVolleyTime = 0;
    uint32_t* pixels = PrepareShow(lastLaunchTime, lastVolleyTime);
    PlayShow(pixels, lastLaunchTime, lastVolleyTime);
    CloseGraphWindow();
    return 0;
}
