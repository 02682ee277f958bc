// The graphics window: opening and closing it, the console around it, the
// window thread and the window procedure.
#include "graph_wnd.h"

#include <mbstring.h>
#include <shellapi.h>

#include <cstdio>

#include "graphics_state.h"
#include "image/pixel_bitmap.h"

namespace Tovax {

HWND consoleWindow = nullptr;
GraphWnd* activeWindow = nullptr;
bool mouseWaitArmed = false;

namespace {

// Set on the window thread while it destroys its window at the program's
// request: that destruction ends the window thread, not the program.
bool closedByProgram = false;

// What Open hands to the window thread. It lives in Open's frame, which
// waits until the thread has read it.
struct WindowThreadRequest {
    WindowThreadStart start;
    int clientWidth;
    int clientHeight;
};

// Closing the console window (or logging off) ends the program like the
// window's close button does: at once, with exit code 0.
BOOL WINAPI ConsoleCloseHandler(DWORD event)
{
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        EndProgramFromWindow();
    }
    return FALSE;
}

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL; }

// Takes the window context's pen, brush and font out of it, deleting those
// that the back buffer's context does not hold as well: the window device
// selects one object into both contexts, and the back buffer's owner deletes
// what it holds.
void ReleaseWindowSelection(HDC windowContext, HDC bufferContext)
{
    const struct {
        int stock;
        UINT type;
    } kinds[] = {{WHITE_PEN, OBJ_PEN}, {BLACK_BRUSH, OBJ_BRUSH}, {SYSTEM_FONT, OBJ_FONT}};
    for (const auto& kind : kinds) {
        HGDIOBJ previous = SelectObject(windowContext, GetStockObject(kind.stock));
        if (previous && previous != GetCurrentObject(bufferContext, kind.type)) DeleteObject(previous);
    }
}

void PaintFromBackBuffer(HWND window)
{
    GraphicsState& state = Graphics();
    LockGuard guard;
    PAINTSTRUCT paint;
    HDC paintDC = BeginPaint(window, &paint);
    GraphWnd& backBuffer = state.window;
    SetWorldTransform(paintDC, &state.identityTransform);
    SetWorldTransform(backBuffer.dc, &state.identityTransform);
    BitBlt(paintDC, 0, 0, backBuffer.width, backBuffer.height, backBuffer.dc, 0, 0, SRCCOPY);
    SetWorldTransform(paintDC, &backBuffer.transform);
    SetWorldTransform(backBuffer.dc, &backBuffer.transform);
    EndPaint(window, &paint);
}

}  // namespace

UINT WindowClassStyle(bool noCloseBox) { return noCloseBox ? (CS_DBLCLKS | CS_NOCLOSE) : CS_DBLCLKS; }

DWORD WindowStyle(bool noMinimizeBox)
{
    return noMinimizeBox ? (WS_CAPTION | WS_SYSMENU) : (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
}

void WindowTitleFromPath(const char* path, char* title, size_t titleSize)
{
    if (titleSize == 0) return;
    char stem[MAX_PATH] = {};
    std::snprintf(stem, sizeof(stem), "%s", path);
    // Multi-byte aware, so a trail byte equal to '\\' or '.' is not taken for one.
    unsigned char* dot = _mbsrchr(reinterpret_cast<unsigned char*>(stem), '.');
    if (dot) *dot = '\0';
    unsigned char* slash = _mbsrchr(reinterpret_cast<unsigned char*>(stem), '\\');
    const char* name = slash ? reinterpret_cast<char*>(slash + 1) : stem;
    std::snprintf(title, titleSize, "%s", name);
}

void RevealWindowDrawing()
{
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

void EndProgramFromWindow()
{
    // Holding the lock, no drawing of the window device is half done when the
    // process ends; ending it here, with no static destruction, means the
    // main thread never meets a graphics state that is being torn down.
    Graphics().lock.Enter();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);
}

GraphWnd::GraphWnd() : IMAGE(0, 0)
{
    activeWindow = this;
    wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

GraphWnd::~GraphWnd()
{
    Close();
    CloseHandle(wakeEvent);
}

void GraphWnd::ResetState()
{
    LockGuard guard;
    if (clientDC) ReleaseWindowSelection(clientDC, dc);
    IMAGE::ResetState();
    if (clientDC) ApplyDefaultDrawingState(clientDC, bkColor, transform);
}

void GraphWnd::Resize(int newWidth, int newHeight)
{
    {
        LockGuard guard;
        IMAGE::Resize(newWidth, newHeight);
    }
    // Without a window there is nothing more to size.
    if (!hwnd) return;
    RECT outer = {};
    GetWindowRect(hwnd, &outer);
    SetWindowPos(hwnd, nullptr, 0, 0, newWidth, newHeight, SWP_NOMOVE | SWP_NOZORDER);
    if (newWidth > outer.right - outer.left + 1 || newHeight > outer.bottom - outer.top + 1) {
        if (DrawOnWnd* device = CurrentWindowDevice()) device->FlushBatch();
    }
}

HWND GraphWnd::Open(int width, int height, int flags)
{
    if (hwnd) {
        Close();
        hwnd = nullptr;
    }

    consoleWindow = GetConsoleWindow();
    hadConsole = consoleWindow != nullptr;
    if (!hadConsole && (flags & WindowFlagConsole)) {
        AllocConsole();
        // A stream that cannot be reopened stays as it was; nothing is reported.
        // cppcheck-suppress ignoredReturnValue
        freopen_s(&consoleOut, "CONOUT$", "w+t", stdout);
        // cppcheck-suppress ignoredReturnValue
        freopen_s(&consoleIn, "CONIN$", "r+t", stdin);
        consoleWindow = GetConsoleWindow();
    }
    if (consoleWindow) {
        SetConsoleCtrlHandler(nullptr, TRUE);
        SetConsoleCtrlHandler(ConsoleCloseHandler, TRUE);
    }

    WindowThreadRequest request = {};
    request.start.x = -1;
    request.start.y = -1;
    if (hadConsole && !(flags & WindowFlagConsole)) {
        RECT consoleRect = {};
        GetWindowRect(consoleWindow, &consoleRect);
        request.start.x = consoleRect.left < 0 ? 0 : consoleRect.left;
        request.start.y = consoleRect.top < 0 ? 0 : consoleRect.top;
    }
    request.start.noCloseBox = (flags & WindowFlagNoCloseBox) != 0;
    request.start.noMinimizeBox = (flags & WindowFlagNoMinimizeBox) != 0;
    request.clientWidth = width < 0 ? 0 : width;
    request.clientHeight = height < 0 ? 0 : height;

    creationFailed = false;
    HANDLE thread = CreateThread(nullptr, 0, WindowThread, &request, 0, nullptr);
    if (thread) {
        WaitForSingleObject(wakeEvent, INFINITE);
        if (hwnd) {
            windowThread = thread;
        } else {
            // Without a window the thread has nothing more to do than end.
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
            windowThreadId = 0;
        }
    }

    {
        LockGuard guard;
        // A window that could not be created gets no device context: drawing
        // then reaches the back buffer only, never the screen.
        clientDC = hwnd ? GetDC(hwnd) : nullptr;
        IMAGE::Resize(width, height);
    }
    SelectTarget(nullptr);
    return hwnd;
}

void GraphWnd::Close()
{
    if (!hwnd) return;
    {
        LockGuard guard;
        if (clientDC) ReleaseWindowSelection(clientDC, dc);
        ReleaseDC(hwnd, clientDC);
        clientDC = nullptr;
        Graphics().windowDC = nullptr;
    }
    RECT windowRect = {};
    if (!hadConsole) {
        if (consoleWindow) {
            if (consoleOut) std::fclose(consoleOut);
            if (consoleIn) std::fclose(consoleIn);
            consoleOut = nullptr;
            consoleIn = nullptr;
            FreeConsole();
            consoleWindow = nullptr;
        }
    } else if (consoleWindow && !IsWindowVisible(consoleWindow)) {
        GetWindowRect(hwnd, &windowRect);
    }
    // Cleared before the window goes, so that nothing that runs while it is
    // destroyed closes it a second time.
    HWND window = hwnd;
    hwnd = nullptr;
    ShowWindow(window, SW_HIDE);
    if (GetCurrentThreadId() == windowThreadId) {
        // The user closed the window: its destruction ends the program.
        DestroyWindow(window);
    } else {
        // The program closed it: the window thread destroys its window and
        // ends, taking its class, icon and message queue with it.
        SendMessageA(window, CloseRequestMessage, 0, 0);
        WaitForSingleObject(windowThread, INFINITE);
        CloseHandle(windowThread);
        windowThread = nullptr;
        windowThreadId = 0;
    }
    if (consoleWindow && !IsWindowVisible(consoleWindow)) {
        SetWindowPos(consoleWindow, HWND_TOP, windowRect.left, windowRect.top, -1, -1, SWP_NOSIZE);
        ShowWindow(consoleWindow, SW_SHOW);
    }
}

DWORD WINAPI GraphWnd::WindowThread(LPVOID parameter)
{
    const WindowThreadRequest* request = static_cast<const WindowThreadRequest*>(parameter);
    GraphWnd* window = activeWindow;
    // Known before the window exists, so that a close from the user is
    // always told apart from one by the program.
    window->windowThreadId = GetCurrentThreadId();
    const int x = request->start.x == -1 ? CW_USEDEFAULT : request->start.x;
    const int y = request->start.y == -1 ? CW_USEDEFAULT : request->start.y;

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON icon = ExtractIconA(instance, path, 0);
    // ExtractIconA answers 1 for a file without icons.
    if (icon == reinterpret_cast<HICON>(1)) icon = nullptr;

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = WindowClassStyle(request->start.noCloseBox);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClassName;
    // A class that an earlier window thread left registered stays in use,
    // together with its own icon.
    const bool registered = RegisterClassExA(&windowClass) != 0;
    if (!registered && icon) {
        DestroyIcon(icon);
        icon = nullptr;
    }

    char title[MAX_PATH] = {};
    WindowTitleFromPath(path, title, sizeof(title));
    const DWORD style = WindowStyle(request->start.noMinimizeBox);
    RECT outer = {0, 0, request->clientWidth, request->clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, 0);

    window->hwnd = CreateWindowExA(0, kWindowClassName, title, style, x, y, outer.right - outer.left,
                                   outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    HWND created = window->hwnd;
    if (!created) {
        window->creationFailed = true;
        if (registered) UnregisterClassA(kWindowClassName, instance);
        if (icon) DestroyIcon(icon);
        SetEvent(window->wakeEvent);
        return 0;
    }
    if (x != CW_USEDEFAULT) ShowWindow(consoleWindow, SW_HIDE);
    ShowWindow(created, SW_SHOW);
    SetEvent(window->wakeEvent);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnregisterClassA(kWindowClassName, instance);
    // The class used the icon until now.
    if (icon) DestroyIcon(icon);
    return 0;
}

LRESULT CALLBACK GraphWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CloseRequestMessage:
        closedByProgram = true;
        DestroyWindow(window);
        closedByProgram = false;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        if (closedByProgram) return 0;
        if (consoleWindow) SendMessageA(consoleWindow, WM_CLOSE, 0, 0);
        EndProgramFromWindow();
    case WM_PAINT:
        PaintFromBackBuffer(window);
        return 0;
    case WM_CLOSE:
        activeWindow->Close();
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (consoleWindow && wParam != VK_CANCEL) PostMessageA(consoleWindow, message, wParam, lParam);
        return 0;
    case MouseWaitMessage:
        mouseWaitArmed = true;
        return 0;
    default:
        break;
    }
    if (IsMouseMessage(message)) {
        if (!activeWindow->mouseQueue.IsFull()) {
            activeWindow->mouseQueue.Push(MouseMessageFromWindowMessage(window, message, wParam, lParam));
        }
        if (mouseWaitArmed) {
            mouseWaitArmed = false;
            SetEvent(activeWindow->wakeEvent);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

MOUSEMSG MouseMessageFromWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MOUSEMSG record = {};
    record.message = message;
    const WORD keys = LOWORD(wParam);
    record.ctrlDown = (keys & MK_CONTROL) != 0;
    record.shiftDown = (keys & MK_SHIFT) != 0;
    record.leftDown = (keys & MK_LBUTTON) != 0;
    record.middleDown = (keys & MK_MBUTTON) != 0;
    record.rightDown = (keys & MK_RBUTTON) != 0;
    record.wheelDelta = static_cast<int16_t>(HIWORD(wParam));
    if (message == WM_MOUSEWHEEL) {
        POINT point = {LOWORD(lParam), HIWORD(lParam)};
        ScreenToClient(hwnd, &point);
        record.x = static_cast<int16_t>(point.x);
        record.y = static_cast<int16_t>(point.y);
    } else {
        record.x = static_cast<int16_t>(LOWORD(lParam));
        record.y = static_cast<int16_t>(HIWORD(lParam));
    }
    return record;
}

}  // namespace Tovax
