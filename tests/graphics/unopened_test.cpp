// The graphics state before any window exists: these run in a process that
// never opens one.
#include <gtest/gtest.h>

#include "graphics_state.h"

namespace {

TEST(UnopenedGraphics, BackBufferIsEmptyAndNothingIsCurrent)
{
    EXPECT_EQ(GetPixelBuffer(nullptr), nullptr);
    EXPECT_EQ(Tovax::Graphics().device, nullptr);
    EXPECT_EQ(Tovax::Graphics().target, nullptr);
}

TEST(UnopenedGraphics, CallsWithoutACurrentDeviceAreIgnored)
{
    ClearTarget();
    SetPenColor(0x123456);
    EXPECT_EQ(GetPenColor(), 0u);
    EXPECT_EQ(GetTargetWidth(), 0);
    BeginBatch();
    FlushBatch();
    EndBatch();
    EXPECT_FALSE(Tovax::Graphics().window.batching);
}

TEST(UnopenedGraphics, ResizingTheBackBufferWithoutAWindowSkipsTheWindow)
{
    Tovax::Graphics().window.Resize(30, 20);
    EXPECT_EQ(Tovax::Graphics().window.width, 30);
    EXPECT_NE(GetPixelBuffer(nullptr), nullptr);
}

}  // namespace

namespace {

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs last in this process: the class it registers refuses every window.
TEST(UnopenedGraphics, AWindowThatCannotBeCreatedDoesNotHangOpening)
{
    WNDCLASSEXA refusing = {};
    refusing.cbSize = sizeof(refusing);
    refusing.lpfnWndProc = RefuseCreation;
    refusing.hInstance = GetModuleHandleA(nullptr);
    refusing.lpszClassName = "TovaxWnd";
    ASSERT_NE(RegisterClassExA(&refusing), 0);

    EXPECT_EQ(OpenGraphWindow(300, 200, 0), nullptr);
    EXPECT_EQ(Tovax::Graphics().window.clientDC, nullptr) << "no device context of the screen instead";
    // Drawing still reaches the back buffer.
    SetBackgroundColor(0x0000FF);
    ClearTarget();
    EXPECT_EQ(GetPixelBuffer(nullptr)[0], 0x00FF0000u);
    CloseGraphWindow();
}

}  // namespace
