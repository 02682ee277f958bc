// Line and fill styles of the current target and the pens and brushes made
// from them.
#include <algorithm>
#include <vector>

#include "device_objects.h"

namespace Tovax {

namespace {

constexpr uint32_t kPenKindMask = 0x0F;
constexpr size_t kPackedHeaderSize = sizeof(BITMAPINFOHEADER);

bool IsPatternKind(int32_t style) { return style == BS_PATTERN || style == BS_DIBPATTERN; }

// Black pixels become 1 bits; rows are padded to 16 bits.
HBITMAP CreateMonochromePattern(const IMAGE& pattern)
{
    const int width = pattern.width;
    const int height = pattern.height;
    const size_t stride = ((static_cast<size_t>(width) + 7) / 8 + 1) & ~static_cast<size_t>(1);
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pattern.pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        uint8_t* out = bits.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0) out[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    }
    return CreateBitmap(width, height, 1, 1, bits.data());
}

// The screen context with a palette realised in it, restored on every path.
class ScreenWithPalette {
public:
    explicit ScreenWithPalette(HPALETTE palette) : dc(GetDC(nullptr))
    {
        previous = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    ~ScreenWithPalette()
    {
        if (previous) SelectPalette(dc, previous, FALSE);
        ReleaseDC(nullptr, dc);
    }
    ScreenWithPalette(const ScreenWithPalette&) = delete;
    ScreenWithPalette& operator=(const ScreenWithPalette&) = delete;

    HDC dc;

private:
    HPALETTE previous = nullptr;
};

}  // namespace

void ReplaceSelection(HDC dc, HGDIOBJ object)
{
    if (!object) return;
    HGDIOBJ previous = SelectObject(dc, object);
    // An object that the context refused is deleted at once.
    DeleteObject(previous ? previous : object);
}

void ReplaceSelectionInBoth(HDC targetDC, HDC windowDC, HGDIOBJ object)
{
    if (!object) return;
    HGDIOBJ previousInTarget = SelectObject(targetDC, object);
    HGDIOBJ previousInWindow = windowDC ? SelectObject(windowDC, object) : nullptr;
    if (!previousInTarget && !previousInWindow) {
        DeleteObject(object);
        return;
    }
    if (previousInTarget) DeleteObject(previousInTarget);
    if (previousInWindow && previousInWindow != previousInTarget) DeleteObject(previousInWindow);
}

void PrepareLineStyle(IMAGE& target, const LINESTYLE* style)
{
    LINESTYLE& own = target.penStyle;
    if (style != &own) own = *style;
    if ((own.style & kPenKindMask) != PS_USERSTYLE) {
        delete[] own.dashes;
        own.dashes = nullptr;
        own.dashCount = 0;
    }
}

HPEN CreateStylePen(const IMAGE& target)
{
    const LINESTYLE& style = target.penStyle;
    DWORD penBits = style.style | PS_GEOMETRIC;
    const bool hasDashes = style.dashes && style.dashCount > 0;
    // A user style without dashes draws nothing.
    if ((style.style & kPenKindMask) == PS_USERSTYLE && !hasDashes) penBits = (penBits & ~kPenKindMask) | PS_NULL;
    LOGBRUSH brush = {BS_SOLID, target.lineColor, 0};
    return ExtCreatePen(penBits, static_cast<DWORD>(style.thickness), &brush, hasDashes ? style.dashCount : 0,
                        hasDashes ? reinterpret_cast<const DWORD*>(style.dashes) : nullptr);
}

BrushRecipe::~BrushRecipe()
{
    if (monochromePattern) DeleteObject(monochromePattern);
    if (packedPattern) GlobalFree(packedPattern);
}

bool BrushRecipe::Prepare(DrawOnImg& device, IMAGE& target, const FILLSTYLE* style)
{
    FILLSTYLE& own = target.brushStyle;
    if (style != &own) own = *style;
    description.lbStyle = static_cast<UINT>(own.style);
    switch (own.style) {
    case BS_SOLID:
        description.lbColor = target.fillColor;
        return true;
    case BS_NULL:
        return true;
    case BS_HATCHED:
        description.lbColor = target.fillColor;
        description.lbHatch = static_cast<ULONG_PTR>(own.hatch);
        return true;
    case BS_PATTERN:
    case BS_DIBPATTERN:
        break;
    default:
        return false;
    }
    const IMAGE* pattern = own.pattern;
    if (!pattern || !pattern->pixels || pattern->width == 0 || pattern->height == 0) return false;
    if (own.style == BS_PATTERN) {
        monochromePattern = CreateMonochromePattern(*pattern);
        description.lbHatch = reinterpret_cast<ULONG_PTR>(monochromePattern);
        return monochromePattern != nullptr;
    }
    packedPattern = device.BuildPackedDib(pattern, BI_RGB, nullptr);
    description.lbColor = DIB_RGB_COLORS;
    description.lbHatch = reinterpret_cast<ULONG_PTR>(packedPattern);
    return packedPattern != nullptr;
}

void DrawOnImg::GetLineStyle(LINESTYLE* out) { *out = CurrentTarget().penStyle; }

void DrawOnImg::ApplyLineStyle(uint32_t style, int thickness, const uint32_t* dashes, uint32_t dashCount)
{
    LINESTYLE& own = CurrentTarget().penStyle;
    // Copied before the old array is released: the caller may hand back the
    // target's own dashes.
    uint32_t* copied = nullptr;
    uint32_t copiedCount = 0;
    if ((style & kPenKindMask) == PS_USERSTYLE && dashes && dashCount > 0) {
        copied = new uint32_t[dashCount];
        std::copy(dashes, dashes + dashCount, copied);
        copiedCount = dashCount;
    }
    own.style = style;
    own.thickness = thickness;
    delete[] own.dashes;
    own.dashes = copied;
    own.dashCount = copiedCount;
    ApplyLineStyleRecord(&own);
}

void DrawOnImg::ApplyLineStyleRecord(const LINESTYLE* style)
{
    IMAGE& target = CurrentTarget();
    PrepareLineStyle(target, style);
    ReplaceSelection(Graphics().targetDC, CreateStylePen(target));
}

void DrawOnImg::GetFillStyle(FILLSTYLE* out) { *out = CurrentTarget().brushStyle; }

void DrawOnImg::ApplyFillStyle(int style, int hatch, const IMAGE* pattern)
{
    // A pattern kind without a pattern image has nothing to copy: the call is ignored.
    if (IsPatternKind(style) && !pattern) return;
    FILLSTYLE& own = CurrentTarget().brushStyle;
    own.style = style;
    if (style == BS_HATCHED) own.hatch = hatch;
    if (IsPatternKind(style)) {
        if (!own.pattern) own.pattern = new IMAGE(0, 0);
        *own.pattern = *pattern;
    }
    ApplyFillStyleRecord(&own);
}

void DrawOnImg::SetFillPattern(const uint8_t rows[8])
{
    IMAGE pattern(8, 8);
    if (!pattern.pixels) return;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const bool set = (rows[row] >> (7 - column)) & 1;
            pattern.pixels[row * 8 + column] = set ? 0xFFFFFFu : 0u;
        }
    }
    ApplyFillStyle(BS_PATTERN, 0, &pattern);
}

void DrawOnImg::ApplyFillStyleRecord(const FILLSTYLE* style)
{
    BrushRecipe recipe;
    if (!recipe.Prepare(*this, CurrentTarget(), style)) return;
    ReplaceSelection(Graphics().targetDC, recipe.CreateBrush());
}

void DrawOnImg::SetBrushColor(COLORREF color)
{
    IMAGE& target = CurrentTarget();
    target.fillColor = color;
    if (target.brushStyle.style == BS_SOLID) {
        ReplaceSelection(Graphics().targetDC, CreateSolidBrush(color));
    } else if (target.brushStyle.style == BS_HATCHED) {
        ApplyFillStyleRecord(&target.brushStyle);
    }
}

HGLOBAL DrawOnImg::BuildPackedDib(const IMAGE* image, uint32_t compression, HPALETTE palette)
{
    if (compression == BI_BITFIELDS || !image || !image->bitmap) return nullptr;
    BITMAP description = {};
    if (!GetObjectA(image->bitmap, sizeof(description), &description)) return nullptr;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = description.bmWidth;
    header.biHeight = description.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(description.bmPlanes * description.bmBitsPixel);
    header.biCompression = compression;
    const size_t tableSize = header.biBitCount <= 8 ? (size_t{1} << header.biBitCount) * sizeof(RGBQUAD) : 0;

    ScreenWithPalette screen(palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, kPackedHeaderSize + tableSize);
    if (!block) return nullptr;
    auto* info = static_cast<BITMAPINFOHEADER*>(block);
    *info = header;
    const UINT rows = static_cast<UINT>(description.bmHeight);
    GetDIBits(screen.dc, image->bitmap, 0, rows, nullptr, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
    if (info->biSizeImage == 0) {
        DWORD size = ((static_cast<DWORD>(info->biBitCount) * static_cast<DWORD>(info->biWidth) + 31) & ~31u) / 8 *
                     static_cast<DWORD>(info->biHeight);
        if (compression != BI_RGB) size = size * 3 / 2;
        info->biSizeImage = size;
    }

    HGLOBAL grown = GlobalReAlloc(block, kPackedHeaderSize + tableSize + info->biSizeImage, GMEM_MOVEABLE);
    if (!grown) {
        GlobalFree(block);
        return nullptr;
    }
    // A moved block may no longer be fixed memory, so its address comes from a lock.
    info = static_cast<BITMAPINFOHEADER*>(GlobalLock(grown));
    uint8_t* bits = info ? reinterpret_cast<uint8_t*>(info) + kPackedHeaderSize + tableSize : nullptr;
    const int copied =
        info ? GetDIBits(screen.dc, image->bitmap, 0, rows, bits, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS)
             : 0;
    if (info) GlobalUnlock(grown);
    if (!copied) {
        GlobalFree(grown);
        return nullptr;
    }
    return grown;
}

}  // namespace Tovax
