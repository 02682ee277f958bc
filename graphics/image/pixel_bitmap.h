// Pixel storage and default drawing state shared by images and the window.
#pragma once

#include "../tovax.h"

namespace Tovax {

// A top-down 32-bit DIB section of width x height; its bits pointer goes to
// *pixelsOut. Null (and *pixelsOut untouched) when the system refuses.
HBITMAP CreatePixelBitmap(int width, int height, uint32_t** pixelsOut);

// The default drawing state on a device context: advanced graphics mode,
// opaque background, white 1-pixel pen and brush, white text, the given
// transform, no clipping and the 16-pixel "System" font.
void ApplyDefaultDrawingState(HDC dc, COLORREF bkColor, const XFORM& transform);

}  // namespace Tovax
