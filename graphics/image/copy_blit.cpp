// Copying a rectangle of the current target into an image, and drawing an
// image onto the current target with a raster operation.
#include <algorithm>
#include <optional>

#include "../graphics_state.h"
#include "pixel_bitmap.h"

namespace Tovax {

namespace {

// A memory device context that holds `bitmap` for the length of one copy.
class ScratchContext {
public:
    explicit ScratchContext(HBITMAP bitmap) : dc(CreateCompatibleDC(nullptr))
    {
        if (dc) previous = SelectObject(dc, bitmap);
    }
    ~ScratchContext()
    {
        if (!dc) return;
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    ScratchContext(const ScratchContext&) = delete;
    ScratchContext& operator=(const ScratchContext&) = delete;

    HDC dc;

private:
    HGDIOBJ previous = nullptr;
};

bool WindowIsTarget()
{
    GraphicsState& state = Graphics();
    return state.target == &state.window;
}

}  // namespace

}  // namespace Tovax

void CopyToImage(IMAGE* destination, int x, int y, int width, int height)
{
    using namespace Tovax;
    if (!destination || width <= 0 || height <= 0) return;
    uint32_t* newPixels = nullptr;
    HBITMAP newBitmap = CreatePixelBitmap(width, height, &newPixels);
    if (!newBitmap) return;
    // BitBlt leaves pixels outside the source as they were: those stay black.
    std::fill_n(newPixels, static_cast<size_t>(width) * static_cast<size_t>(height), 0u);

    GraphicsState& state = Graphics();
    // The window thread paints from the back buffer under the lock.
    std::optional<LockGuard> guard;
    if (WindowIsTarget() || destination == &state.window) guard.emplace();
    {
        // Copied through a context of its own, so that a destination that is
        // the current target is still read before its storage is replaced.
        ScratchContext scratch(newBitmap);
        if (!scratch.dc) {
            DeleteObject(newBitmap);
            return;
        }
        BitBlt(scratch.dc, 0, 0, width, height, state.targetDC, x, y, SRCCOPY);
    }
    SelectObject(destination->dc, newBitmap);
    if (destination->bitmap) DeleteObject(destination->bitmap);
    destination->bitmap = newBitmap;
    destination->pixels = newPixels;
    destination->width = width;
    destination->height = height;
}

void BlitImage(int x, int y, IMAGE* image, DWORD rop)
{
    if (!image) return;
    BlitImageRegion(x, y, image->width, image->height, image, 0, 0, rop);
}

void BlitImageRegion(int x, int y, int width, int height, IMAGE* image, int sourceX, int sourceY, DWORD rop)
{
    using namespace Tovax;
    // An empty image has no pixels to draw, whatever the raster operation.
    if (!image || !image->bitmap) return;
    GraphicsState& state = Graphics();
    if (!WindowIsTarget()) {
        BitBlt(state.targetDC, x, y, width, height, image->dc, sourceX, sourceY, rop);
        return;
    }
    bool mirrored = false;
    {
        LockGuard guard;
        // Each surface gets the operation exactly once, so SRCINVERT stays reversible.
        mirrored = !state.window.batching && state.windowDC;
        if (mirrored) BitBlt(state.windowDC, x, y, width, height, image->dc, sourceX, sourceY, rop);
        BitBlt(state.targetDC, x, y, width, height, image->dc, sourceX, sourceY, rop);
    }
    if (mirrored) RevealWindowDrawing();
}
