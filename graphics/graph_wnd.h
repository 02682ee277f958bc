// The graphics window: a top-level window run by a thread of its own, whose
// IMAGE part is the back buffer that all window drawing goes into.
#pragma once

#include <cstdio>

#include "mouse_queue.h"
#include "tovax.h"

namespace Tovax {

constexpr UINT MouseWaitMessage = WM_USER + 1;
// Sent by Close from another thread: only the window's own thread can destroy it.
constexpr UINT CloseRequestMessage = WM_USER + 2;
constexpr char kWindowClassName[] = "TovaxWnd";

struct WindowThreadStart {
    int32_t x;
    int32_t y;
    bool noCloseBox;
    bool noMinimizeBox;
};

class GraphWnd : public IMAGE {
public:
    GraphWnd();
    void ResetState() override;
    ~GraphWnd() override;
    void Resize(int newWidth, int newHeight) override;

    HWND Open(int width, int height, int flags);
    void Close();

    static DWORD WINAPI WindowThread(LPVOID parameter);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool hadConsole = false;
    HANDLE wakeEvent = nullptr;
    Collections::FixedQueue<MOUSEMSG> mouseQueue;
    FILE* consoleOut = nullptr;
    FILE* consoleIn = nullptr;
    HWND hwnd = nullptr;
    // The thread that runs the window; Close waits for it to end.
    HANDLE windowThread = nullptr;
    DWORD windowThreadId = 0;
    HDC clientDC = nullptr;
    bool batching = false;
    // Set by the window thread when it could not create the window, so that
    // Open does not wait for a window that will never exist.
    bool creationFailed = false;
};

// Process-wide values of the window.
extern HWND consoleWindow;
extern GraphWnd* activeWindow;
extern bool mouseWaitArmed;

// The window class style and window style for the flags of OpenGraphWindow.
UINT WindowClassStyle(bool noCloseBox);
DWORD WindowStyle(bool noMinimizeBox);
// The window title: the file name of the program without its extension.
void WindowTitleFromPath(const char* path, char* title, size_t titleSize);

// Call after drawing on the window from this thread. Some platforms bring a
// window's drawing to the screen only when a thread of the process looks at
// its message queue; looking here shows the drawing at once.
void RevealWindowDrawing();

// Ends the process with exit code 0 once no window-device operation is in
// progress; used when the user closes the window or its console.
[[noreturn]] void EndProgramFromWindow();

}  // namespace Tovax
