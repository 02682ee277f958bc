// Test probe, run under Wine beside the program: reports what Windows knows
// about the graphics window, which the X display cannot tell.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HWND FindGraphWindow() { return FindWindowA("TovaxWnd", nullptr); }

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    HWND window = FindGraphWindow();
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
        std::printf("outer=%ld,%ld,%ld,%ld\nstyle=0x%08lx\nclass_style=0x%08lx\nvisible=%d\nclose=%ld,%ld\n", outer.left,
                    outer.top, outer.right, outer.bottom, static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_STYLE)),
                    static_cast<unsigned long>(GetClassLongPtrA(window, GCL_STYLE)), IsWindowVisible(window) ? 1 : 0,
                    closeButton.x, closeButton.y);
        return 0;
    }
    return 2;
}
