// The window device's own operations: opening and closing the window, and
// batch drawing with presenting of the back buffer.
#include <algorithm>

#include "graphics_state.h"

namespace Tovax {

HWND DrawOnWnd::OpenGraphWindow(int width, int height, int flags)
{
    GraphicsState& state = Graphics();
    HWND window = state.window.Open(width, height, flags);
    state.target = &state.window;
    state.device = &state.windowDevice;
    state.device->ResetTargetState();
    // The back buffer's own size: it stays as it was when storage could not be made.
    if (uint32_t* pixels = GetPixelBuffer(nullptr)) {
        std::fill(pixels, pixels + static_cast<size_t>(state.window.width) * state.window.height, 0u);
    }
    FlushBatch();
    return window;
}

void DrawOnWnd::CloseGraphWindow() { Graphics().window.Close(); }

void DrawOnWnd::BeginBatch() { Graphics().window.batching = true; }

// Presents from the back buffer itself, whatever the current target is; while
// an image is current there is no window context and nothing is presented.
void DrawOnWnd::FlushBatch()
{
    GraphicsState& state = Graphics();
    {
        LockGuard guard;
        if (!state.windowDC) return;
        GraphWnd& backBuffer = state.window;
        // With origin and aspect ratio at their defaults the transforms are
        // already the identity; the show presents that way every frame.
        const bool transformed = !IsIdentity(backBuffer.transform);
        if (transformed) {
            SetWorldTransform(backBuffer.dc, &state.identityTransform);
            SetWorldTransform(state.windowDC, &state.identityTransform);
        }
        BitBlt(state.windowDC, 0, 0, backBuffer.width, backBuffer.height, backBuffer.dc, 0, 0, SRCCOPY);
        if (transformed) {
            SetWorldTransform(backBuffer.dc, &backBuffer.transform);
            SetWorldTransform(state.windowDC, &backBuffer.transform);
        }
    }
    RevealWindowDrawing();
}

void DrawOnWnd::FlushBatchRect(int left, int top, int right, int bottom)
{
    GraphicsState& state = Graphics();
    {
        LockGuard guard;
        if (!state.windowDC) return;
        BitBlt(state.windowDC, left, top, right - left + 1, bottom - top + 1, state.window.dc, left, top, SRCCOPY);
    }
    RevealWindowDrawing();
}

void DrawOnWnd::EndBatch()
{
    FlushBatch();
    Graphics().window.batching = false;
}

void DrawOnWnd::EndBatchRect(int left, int top, int right, int bottom)
{
    FlushBatchRect(left, top, right, bottom);
    Graphics().window.batching = false;
}

}  // namespace Tovax
