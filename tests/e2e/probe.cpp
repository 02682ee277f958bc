// Test probe, run under Wine beside the program: reports what Windows knows
// about the graphics window, which the X display cannot tell.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The graphics window, of the program with the given title when one is named.
HWND FindGraphWindow(const char* title) { return FindWindowA("TovaxWnd", title); }

// Searches the caption for the close button by asking the window itself.
bool FindCloseButton(HWND window, POINT* point)
{
    RECT rect;
    GetWindowRect(window, &rect);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    for (int y = rect.top; y < origin.y; ++y) {
        for (int x = rect.right - 1; x > rect.left; --x) {
            LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) {
                point->x = x - 4;
                point->y = y + 4;
                if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point->x, point->y)) != HTCLOSE) *point = {x, y};
                return true;
            }
        }
    }
    return false;
}

LRESULT CALLBACK CoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT rect;
        GetClientRect(window, &rect);
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(reinterpret_cast<HDC>(wParam), &rect, magenta);
        DeleteObject(magenta);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Lays a magenta window over the graphics window for a while, then removes it.
void Cover(HWND graphWindow, DWORD milliseconds)
{
    WNDCLASSA coverClass = {};
    coverClass.lpfnWndProc = CoverProc;
    coverClass.hInstance = GetModuleHandleA(nullptr);
    coverClass.lpszClassName = "ProbeCover";
    RegisterClassA(&coverClass);
    RECT rect;
    GetWindowRect(graphWindow, &rect);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "ProbeCover", "cover", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, coverClass.hInstance,
                                 nullptr);
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    DestroyWindow(cover);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const char* title = std::getenv("PROBE_TITLE");
    HWND window = FindGraphWindow(title && *title ? title : nullptr);
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    if (std::strcmp(argv[1], "window") == 0) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof(title));
        RECT client;
        GetClientRect(window, &client);
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        RECT outer;
        GetWindowRect(window, &outer);
        POINT closeButton = {-1, -1};
        FindCloseButton(window, &closeButton);
        std::printf("found=1\ntitle=%s\nclient_width=%ld\nclient_height=%ld\nclient_x=%ld\nclient_y=%ld\n", title,
                    client.right - client.left, client.bottom - client.top, origin.x, origin.y);
        std::printf("outer=%ld,%ld,%ld,%ld\nstyle=0x%08lx\nclass_style=0x%08lx\nvisible=%d\nclose=%ld,%ld\n",
                    outer.left, outer.top, outer.right, outer.bottom,
                    static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_STYLE)),
                    static_cast<unsigned long>(GetClassLongPtrA(window, GCL_STYLE)), IsWindowVisible(window) ? 1 : 0,
                    closeButton.x, closeButton.y);
        std::printf("foreground=%d\n", GetForegroundWindow() == window ? 1 : 0);
        return 0;
    }
    if (std::strcmp(argv[1], "minimize") == 0) return ShowWindow(window, SW_MINIMIZE), 0;
    if (std::strcmp(argv[1], "restore") == 0) return ShowWindow(window, SW_RESTORE), 0;
    if (std::strcmp(argv[1], "cover") == 0) return Cover(window, argc > 2 ? std::atoi(argv[2]) : 1000), 0;
    if (std::strcmp(argv[1], "close-console") == 0) {
        // What closing the console from the taskbar does.
        HWND console = FindWindowA("WineConsoleClass", nullptr);
        if (!console) return 1;
        PostMessageA(console, WM_CLOSE, 0, 0);
        return 0;
    }
    if (std::strcmp(argv[1], "error-dialog") == 0) {
        // A crash would show the debugger's dialog.
        HWND dialog = FindWindowA(nullptr, "Program Error");
        std::printf("error_dialog=%d\n", dialog ? 1 : 0);
        return 0;
    }
    return 2;
}
