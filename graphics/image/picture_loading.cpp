// Loading a picture that travels as a resource of the program into an image.
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <optional>

#include "../graphics_state.h"
#include "global_memory.h"

namespace Tovax {

namespace {

// Holds one reference to a COM object and releases it on every path.
template <typename Interface>
class ComReference {
public:
    ComReference() = default;
    ~ComReference()
    {
        if (object) object->Release();
    }
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;

    Interface** Receive() { return &object; }
    Interface* operator->() const { return object; }
    Interface* Get() const { return object; }

private:
    Interface* object = nullptr;
};

// Decodes the picture in `memory` and renders it at the top-left of `image`,
// at its natural size or at width x height when both are positive.
void DecodePicture(GlobalMemory& memory, IMAGE* image, int width, int height, bool resize)
{
    // Declared before the picture, so the picture is released first.
    ComReference<IStream> stream;
    // The block stays ours: the stream must not free it.
    if (FAILED(CreateStreamOnHGlobal(memory.handle, FALSE, stream.Receive()))) return;
    ComReference<IPicture> picture;
    // Run mode off: some platforms let a picture loaded in run mode leave its
    // decoded bitmap behind when it is released, one bitmap per load.
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(memory.size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Receive())))) {
        return;
    }

    OLE_XSIZE_HIMETRIC extentWidth = 0;
    OLE_YSIZE_HIMETRIC extentHeight = 0;
    picture->get_Width(&extentWidth);
    picture->get_Height(&extentHeight);
    int pixelWidth = MulDiv(extentWidth, GetDeviceCaps(image->dc, LOGPIXELSX), 2540);
    int pixelHeight = MulDiv(extentHeight, GetDeviceCaps(image->dc, LOGPIXELSY), 2540);
    if (width > 0 && height > 0) {
        pixelWidth = width;
        pixelHeight = height;
    }

    // Outside the lock: the window's Resize takes it itself and then waits
    // for the window thread.
    if (!image->bitmap || resize) image->Resize(pixelWidth, pixelHeight);
    // Storage that could not be made leaves nothing to draw on.
    if (!image->bitmap) return;

    // The window thread copies the back buffer under the lock; it must not
    // see a half-rendered picture.
    std::optional<LockGuard> guard;
    if (image == &Graphics().window) guard.emplace();
    // A scaled picture averages its pixels; the context's own mode would
    // combine them bit by bit and garble a picture shrunk to a fraction.
    const int stretchMode = SetStretchBltMode(image->dc, HALFTONE);
    POINT brushOrigin = {};
    SetBrushOrgEx(image->dc, 0, 0, &brushOrigin);
    // HIMETRIC y grows upward: starting at the top edge and running down
    // delivers the picture upright.
    picture->Render(image->dc, 0, 0, pixelWidth, pixelHeight, 0, extentHeight, extentWidth, -extentHeight, nullptr);
    SetBrushOrgEx(image->dc, brushOrigin.x, brushOrigin.y, nullptr);
    SetStretchBltMode(image->dc, stretchMode);
    // The picture renderer may fill the unused top byte (as alpha); pixels
    // keep it zero, so exclusive-or sprites and copies carry colour only.
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    for (size_t i = 0; i < count; ++i) image->pixels[i] &= 0x00FFFFFFu;
}

}  // namespace

}  // namespace Tovax

void LoadResourcePicture(IMAGE* image, LPCSTR type, LPCSTR name, int width, int height, bool resize)
{
    Tovax::GraphicsState& state = Tovax::Graphics();
    IMAGE* destination = image ? image : &state.window;
    {
        Tovax::GlobalMemory memory;
        if (memory.LoadFromResource(type, name)) Tovax::DecodePicture(memory, destination, width, height, resize);
    }
    // Presents the back buffer itself; while an image is the current target
    // there is no window context and the present is skipped.
    if (!image) state.windowDevice.FlushBatch();
}
