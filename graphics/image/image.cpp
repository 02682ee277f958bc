// IMAGE: a top-down 32-bit DIB section, its memory device context and the
// drawing state of the surface.
#include <algorithm>
#include <cstring>

#include "../graphics_state.h"
#include "pixel_bitmap.h"

namespace Tovax {

namespace {

// The one BITMAPINFO template every pixel bitmap is made from; only its
// width and height change. Callers create images on one thread only.
struct PixelBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[1];
};

PixelBitmapInfo pixelBitmapTemplate = {
    {sizeof(BITMAPINFOHEADER), 0, 0, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
    {{0, 0, 0, 0}},
};

void FillPixels(uint32_t* pixels, int width, int height, uint32_t value)
{
    std::fill(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height), value);
}

// Copies the overlapping top-left part of one pixel buffer into another.
// Done in memory, so the world transform of either device context plays no part.
void CopyTopLeft(uint32_t* destination, int destinationWidth, int destinationHeight, const uint32_t* source,
                 int sourceWidth, int sourceHeight)
{
    if (!destination || !source) return;
    const int columns = std::min(destinationWidth, sourceWidth);
    const int rows = std::min(destinationHeight, sourceHeight);
    for (int y = 0; y < rows; ++y) {
        std::memcpy(destination + static_cast<size_t>(y) * destinationWidth,
                    source + static_cast<size_t>(y) * sourceWidth, static_cast<size_t>(columns) * sizeof(uint32_t));
    }
}

// Selects `object` into dc and deletes what it replaced.
void ReplaceObject(HDC dc, HGDIOBJ object)
{
    HGDIOBJ previous = SelectObject(dc, object);
    if (previous) DeleteObject(previous);
}

}  // namespace

HBITMAP CreatePixelBitmap(int width, int height, uint32_t** pixelsOut)
{
    pixelBitmapTemplate.header.biWidth = width;
    pixelBitmapTemplate.header.biHeight = -height;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&pixelBitmapTemplate), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    *pixelsOut = static_cast<uint32_t*>(bits);
    return bitmap;
}

void ApplyDefaultDrawingState(HDC dc, COLORREF bkColor, const XFORM& transform)
{
    SetGraphicsMode(dc, GM_ADVANCED);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, bkColor);
    MoveToEx(dc, 0, 0, nullptr);
    ReplaceObject(dc, CreatePen(PS_SOLID, 1, 0xFFFFFF));
    ReplaceObject(dc, CreateSolidBrush(0xFFFFFF));
    SetTextColor(dc, 0xFFFFFF);
    SetWorldTransform(dc, &transform);
    SelectClipRgn(dc, nullptr);
    LOGFONTA font = {};
    font.lfHeight = 16;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    std::strncpy(font.lfFaceName, "System", LF_FACESIZE - 1);
    ReplaceObject(dc, CreateFontIndirectA(&font));
}

}  // namespace Tovax

using Tovax::Graphics;

IMAGE::IMAGE(int width, int height)
    : width(width),
      height(height),
      bitmap(nullptr),
      dc(nullptr),
      curX(0),
      curY(0),
      transform{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
      lineColor(0xFFFFFF),
      fillColor(0xFFFFFF),
      textColor(0xFFFFFF),
      bkColor(0),
      pixels(nullptr)
{
    dc = CreateCompatibleDC(Graphics().windowDC);
    IMAGE::ResetState();
    if (width <= 0 || height <= 0) {
        // Negative sizes behave as an empty image.
        this->width = std::max(width, 0);
        this->height = std::max(height, 0);
        return;
    }
    uint32_t* newPixels = nullptr;
    HBITMAP newBitmap = Tovax::CreatePixelBitmap(width, height, &newPixels);
    if (!newBitmap) {
        this->width = 0;
        this->height = 0;
        return;
    }
    Tovax::FillPixels(newPixels, width, height, Tovax::ColorToPixel(bkColor));
    SelectObject(dc, newBitmap);
    bitmap = newBitmap;
    pixels = newPixels;
}

IMAGE::IMAGE(const IMAGE& other) : IMAGE(0, 0) { *this = other; }

void IMAGE::ResetState()
{
    curX = 0;
    curY = 0;
    lineColor = textColor = fillColor = 0xFFFFFF;
    bkColor = 0;
    transform = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    penStyle.style = 0;
    penStyle.thickness = 1;
    delete[] penStyle.dashes;
    penStyle.dashes = nullptr;
    penStyle.dashCount = 0;
    brushStyle.style = 0;
    delete brushStyle.pattern;
    brushStyle.pattern = nullptr;
    Tovax::ApplyDefaultDrawingState(dc, bkColor, transform);
}

IMAGE::~IMAGE()
{
    Tovax::ReplaceObject(dc, GetStockObject(WHITE_PEN));
    Tovax::ReplaceObject(dc, GetStockObject(BLACK_BRUSH));
    Tovax::ReplaceObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
}

void IMAGE::Resize(int newWidth, int newHeight)
{
    // Zero and negative sizes change nothing.
    if (newWidth <= 0 || newHeight <= 0) return;
    uint32_t* newPixels = nullptr;
    HBITMAP newBitmap = Tovax::CreatePixelBitmap(newWidth, newHeight, &newPixels);
    // Without new storage the image keeps its old storage and size.
    if (!newBitmap) return;
    Tovax::FillPixels(newPixels, newWidth, newHeight, Tovax::ColorToPixel(bkColor));
    Tovax::CopyTopLeft(newPixels, newWidth, newHeight, pixels, width, height);
    HBITMAP oldBitmap = bitmap;
    SelectObject(dc, newBitmap);
    if (oldBitmap) DeleteObject(oldBitmap);
    bitmap = newBitmap;
    pixels = newPixels;
    width = newWidth;
    height = newHeight;
}

// Assignment copies the size and the pixels; the drawing state stays the target's own.
// cppcheck-suppress operatorEqVarError
IMAGE& IMAGE::operator=(const IMAGE& other)
{
    if (this == &other) return *this;
    Resize(other.width, other.height);
    Tovax::CopyTopLeft(pixels, width, height, other.pixels, other.width, other.height);
    return *this;
}

uint32_t* GetPixelBuffer(IMAGE* image) { return image ? image->pixels : Graphics().window.pixels; }
