// The graphics window: opening, styles, title, painting and key forwarding.
#include <windows.h>
#include <gtest/gtest.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <string>

#include "graphics_state.h"
#include "window_capture.h"

namespace {

using Tovax::Graphics;

// Each flag shows in the window that opens: the class style, the window style.
TEST(Window, OpensWithTheRequestedClientSizeAndTheStylesOfItsFlags)
{
    const struct {
        int flags;
        LONG_PTR classStyle;
        LONG_PTR windowStyle;
    } cases[] = {
        {0, CS_DBLCLKS, 0x00CA0000},
        {WindowFlagNoCloseBox, CS_DBLCLKS | CS_NOCLOSE, 0x00CA0000},
        {WindowFlagNoMinimizeBox, CS_DBLCLKS, 0x00C80000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        HWND window = OpenGraphWindow(300, 200, c.flags);
        ASSERT_NE(window, nullptr);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 300);
        EXPECT_EQ(client.bottom, 200);
        EXPECT_TRUE(IsWindowVisible(window));
        char className[32] = {};
        GetClassNameA(window, className, sizeof(className));
        EXPECT_STREQ(className, "TovaxWnd");
        EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), c.classStyle);
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & 0x00CF0000, c.windowStyle);
        uint32_t* pixels = GetPixelBuffer(nullptr);
        ASSERT_NE(pixels, nullptr);
        EXPECT_TRUE(std::all_of(pixels, pixels + 300 * 200, [](uint32_t p) { return p == 0; }));
        CloseGraphWindow();
    }
}

TEST(Window, TargetInvariantsHoldAfterOpeningAndSelecting)
{
    OpenGraphWindow(320, 200, 0);
    Tovax::GraphicsState& state = Graphics();
    EXPECT_EQ(state.target, &state.window);
    EXPECT_EQ(state.device, &state.windowDevice);
    EXPECT_EQ(state.targetDC, state.window.dc);
    EXPECT_EQ(state.windowDC, state.window.clientDC);
    EXPECT_NE(state.windowDC, nullptr);

    IMAGE image(10, 10);
    SelectTarget(&image);
    EXPECT_EQ(state.target, &image);
    EXPECT_EQ(state.device, &state.imageDevice);
    EXPECT_EQ(state.targetDC, image.dc);
    EXPECT_EQ(state.windowDC, nullptr);
    EXPECT_EQ(GetPixelBuffer(nullptr), state.window.pixels);
    EXPECT_EQ(GetTargetWidth(), 10);
    SetBrushColor(0x00FF00);
    SetDrawColor(0x0000FF);
    EXPECT_EQ(GetPenColor(), 0x0000FFu);
    EXPECT_EQ(GetTextForeground(), 0x0000FFu);
    EXPECT_EQ(GetBrushColor(), 0x00FF00u) << "the fill colour keeps its value";

    SelectTarget(nullptr);
    EXPECT_EQ(state.device, &state.windowDevice);
    EXPECT_EQ(GetTargetWidth(), 320);
    CloseGraphWindow();
    EXPECT_EQ(state.windowDC, nullptr);
}

TEST(Window, TitleIsTheFileNameWithoutExtension)
{
    char title[MAX_PATH];
    Tovax::WindowTitleFromPath("D:\\games\\show.exe", title, sizeof(title));
    EXPECT_STREQ(title, "show");
    Tovax::WindowTitleFromPath("C:\\a.b\\fire.works.exe", title, sizeof(title));
    EXPECT_STREQ(title, "fire.works");
    Tovax::WindowTitleFromPath("plain", title, sizeof(title));
    EXPECT_STREQ(title, "plain");

    HWND window = OpenGraphWindow(100, 80, 0);
    char actual[MAX_PATH] = {};
    GetWindowTextA(window, actual, sizeof(actual));
    EXPECT_STREQ(actual, "graphics_tests");
    CloseGraphWindow();
}

TEST(Window, RepaintCopiesTheWholeBackBuffer)
{
    HWND window = OpenGraphWindow(160, 120, 0);
    SettleWindow(window);
    BeginBatch();
    uint32_t* pixels = GetPixelBuffer(nullptr);
    PaintTestPattern(pixels, 160, 120);
    // The repaint ignores origin and scale and the current target.
    SetTargetOrigin(30, 40);
    IMAGE image(5, 5);
    SelectTarget(&image);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<uint32_t> shown = CaptureClient(window, 160, 120);
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), pixels));
    SelectTarget(nullptr);
    SetTargetOrigin(0, 0);
    EndBatch();
    CloseGraphWindow();
}

// A reopened window starts afresh: black, default drawing state.
TEST(Window, ReopeningClosesTheOldWindowFirst)
{
    HWND first = OpenGraphWindow(100, 80, 0);
    SetPenColor(0x123456);
    SetBackgroundColor(0x00FF00);
    ClearTarget();
    HWND second = OpenGraphWindow(120, 90, 0);
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(Graphics().window.width, 120);
    const uint32_t* pixels = GetPixelBuffer(nullptr);
    EXPECT_TRUE(std::all_of(pixels, pixels + 120 * 90, [](uint32_t p) { return p == 0; }));
    EXPECT_EQ(GetPenColor(), 0xFFFFFFu);
    EXPECT_EQ(GetBackgroundColor(), 0u);
    // Resizing the back buffer gives the window that outer size.
    Graphics().window.Resize(260, 150);
    RECT outer;
    GetWindowRect(second, &outer);
    EXPECT_EQ(outer.right - outer.left, 260);
    EXPECT_EQ(outer.bottom - outer.top, 150);
    CloseGraphWindow();
    EXPECT_FALSE(IsWindowVisible(second));
    // After closing, drawing reaches the back buffer only.
    ClearTarget();
    EXPECT_EQ(Graphics().windowDC, nullptr);
}

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

// Only a window's own thread can destroy it: a close from the program's
// thread used to hide the window and leave it, with its thread, for good.
TEST(Window, ClosingEndsTheWindowAndItsThread)
{
    const int threadsBefore = ThreadsOfThisProcess();
    // A few rounds show that nothing piles up; each costs seconds under emulation.
    for (int i = 0; i < 3; ++i) {
        HWND window = OpenGraphWindow(64 + i, 48, 0);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 1);
        CloseGraphWindow();
        EXPECT_FALSE(IsWindow(window)) << "round " << i;
        EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore) << "round " << i;
    }
    // The process goes on, and a new window works as the first did.
    ASSERT_NE(OpenGraphWindow(80, 60, 0), nullptr);
    SetBackgroundColor(0x00FF00);
    ClearTarget();
    EXPECT_EQ(GetPixelBuffer(nullptr)[80 * 60 - 1], 0x0000FF00u);
    CloseGraphWindow();
}

// The console that WindowFlagConsole creates takes over standard output, so
// this runs in a child process that answers with its exit code.
TEST(Window, KeysTypedInTheWindowReachTheConsoleInput)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string child(path);
    child.replace(child.find_last_of('\\') + 1, std::string::npos, "console_key_child.exe");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(child.c_str(), nullptr, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                               &startup, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u) << "1: no console, 2: key not seen, 3: console kept after close";
}

}  // namespace
