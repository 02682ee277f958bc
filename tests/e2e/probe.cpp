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
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    // From the caption's middle row outwards: the button sits there, and a
    // row above or below it costs a message for every column.
    const int middle = (rect.top + origin.y) / 2;
    for (int step = 0; step < 2 * (origin.y - rect.top); ++step) {
        const int y = middle + (step % 2 ? -(step + 1) / 2 : step / 2);
        if (y < rect.top || y >= origin.y) continue;
        for (int x = rect.right - 1; x > rect.left; --x) {
            LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) {
                // A little inside the button's right edge.
                *point = {x - 4, y};
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

// Answers one request about the graphics window of the program with that
// title; the last line is its result code, as the request's exit code would be.
int Answer(const char* request, const char* title, const char* argument)
{
    HWND window = FindGraphWindow(*title ? title : nullptr);
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    if (std::strcmp(request, "window") == 0) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof(caption));
        RECT client;
        GetClientRect(window, &client);
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        RECT outer;
        GetWindowRect(window, &outer);
        POINT closeButton = {-1, -1};
        FindCloseButton(window, &closeButton);
        std::printf("found=1\ntitle=%s\nclient_width=%ld\nclient_height=%ld\nclient_x=%ld\nclient_y=%ld\n", caption,
                    client.right - client.left, client.bottom - client.top, origin.x, origin.y);
        std::printf("outer=%ld,%ld,%ld,%ld\nstyle=0x%08lx\nclass_style=0x%08lx\nvisible=%d\nclose=%ld,%ld\n",
                    outer.left, outer.top, outer.right, outer.bottom,
                    static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_STYLE)),
                    static_cast<unsigned long>(GetClassLongPtrA(window, GCL_STYLE)), IsWindowVisible(window) ? 1 : 0,
                    closeButton.x, closeButton.y);
        std::printf("foreground=%d\n", GetForegroundWindow() == window ? 1 : 0);
        return 0;
    }
    if (std::strcmp(request, "minimize") == 0) return ShowWindow(window, SW_MINIMIZE), 0;
    if (std::strcmp(request, "restore") == 0) return ShowWindow(window, SW_RESTORE), 0;
    if (std::strcmp(request, "cover") == 0) return Cover(window, *argument ? std::atoi(argument) : 1000), 0;
    if (std::strcmp(request, "close-console") == 0) {
        // What closing the console from the taskbar does.
        HWND console = FindWindowA("WineConsoleClass", nullptr);
        if (!console) return 1;
        PostMessageA(console, WM_CLOSE, 0, 0);
        return 0;
    }
    if (std::strcmp(request, "error-dialog") == 0) {
        // A crash would show the debugger's dialog.
        HWND dialog = FindWindowA(nullptr, "Program Error");
        std::printf("error_dialog=%d\n", dialog ? 1 : 0);
        return 0;
    }
    return 2;
}

}  // namespace

// Serves requests read from standard input, one a line: the request, the
// program's title and an argument, separated by tabs. Each answer ends with
// "code=N" and "end". One process serves a whole test: starting a Windows
// process for every question costs more than the question, under emulation
// many times more.
int main()
{
    char line[512];
    while (std::fgets(line, sizeof(line), stdin)) {
        line[std::strcspn(line, "\r\n")] = '\0';
        char* fields[3] = {line, nullptr, nullptr};
        for (int i = 1; i < 3; ++i) {
            char* tab = fields[i - 1] ? std::strchr(fields[i - 1], '\t') : nullptr;
            if (tab) *tab = '\0';
            fields[i] = tab ? tab + 1 : nullptr;
        }
        const int code = Answer(fields[0], fields[1] ? fields[1] : "", fields[2] ? fields[2] : "");
        std::printf("code=%d\nend\n", code);
        std::fflush(stdout);
    }
    return 0;
}
