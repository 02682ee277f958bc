// Opens the window with a console of its own, types a key into the window and
// reports through its exit code whether the console input saw it.
#include <conio.h>

#include "graph_wnd.h"

int main()
{
    HWND window = OpenGraphWindow(300, 200, WindowFlagConsole);
    if (!Tovax::consoleWindow) return 1;
    PostMessageA(window, WM_KEYDOWN, 'Q', 0x00100001);
    PostMessageA(window, WM_KEYUP, 'Q', 0xC0100001);
    // Forwarding is asynchronous: wait, within bounds, for the console to see the key.
    bool seen = false;
    for (int i = 0; i < 1000 && !seen; ++i) {
        seen = _kbhit() != 0;
        if (!seen) Sleep(10);
    }
    CloseGraphWindow();
    if (!seen) return 2;
    return Tovax::consoleWindow ? 3 : 0;
}
