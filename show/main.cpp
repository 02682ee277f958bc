// The greeting's entry point: opens the window and runs the frame loop
// until a key is waiting in the console input.
#include "tovax.h"

#include <conio.h>
#include <mmsystem.h>

#include <cstdlib>
#include <ctime>

#include "darken.h"

int main()
{
    OpenGraphWindow(1200, 800, 0);
    std::srand(static_cast<unsigned>(_time64(nullptr)));
    PlaySoundA(MAKEINTRESOURCEA(108), nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    uint32_t* pixels = GetPixelBuffer(nullptr);
    BeginBatch();
    while (!_kbhit()) {
        Sleep(10);
        DarkenRandomPixels(pixels);
        FlushBatch();
    }
    CloseGraphWindow();
    return 0;
}
