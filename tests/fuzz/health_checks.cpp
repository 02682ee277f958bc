#include "health_checks.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string Format(const char* format, long long a = 0, long long b = 0, long long c = 0, long long d = 0)
{
    char text[256];
    std::snprintf(text, sizeof(text), format, a, b, c, d);
    return text;
}

bool IsPen(DWORD type) { return type == OBJ_PEN || type == OBJ_EXTPEN; }

}  // namespace

std::string ImageProblem(const IMAGE& image)
{
    if (image.width < 0 || image.height < 0) return Format("negative size %lld x %lld", image.width, image.height);
    if (GetObjectType(image.dc) != OBJ_MEMDC) return "its device context is not a live memory context";
    if (!image.bitmap) {
        if (image.pixels) return "pixels without a bitmap";
        if (image.width != 0 && image.height != 0) {
            return Format("no storage although it is %lld x %lld", image.width, image.height);
        }
    } else {
        DIBSECTION section = {};
        if (GetObjectA(image.bitmap, sizeof(section), &section) != sizeof(section)) {
            return "its bitmap is not a live DIB section";
        }
        if (section.dsBm.bmWidth != image.width || std::labs(section.dsBm.bmHeight) != image.height) {
            return Format("storage of %lld x %lld for an image of %lld x %lld", section.dsBm.bmWidth,
                          section.dsBm.bmHeight, image.width, image.height);
        }
        if (section.dsBm.bmBitsPixel != 32) return "storage is not 32-bit";
        if (section.dsBm.bmBits != image.pixels) return "pixels do not address the bitmap's bits";
        if (GetCurrentObject(image.dc, OBJ_BITMAP) != image.bitmap) {
            return "its bitmap is not selected into its context";
        }
        // Both ends of the buffer are addressable.
        const size_t last = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) - 1;
        volatile uint32_t probe = image.pixels[0] ^ image.pixels[last];
        (void)probe;
    }
    if (!IsPen(GetObjectType(GetCurrentObject(image.dc, OBJ_PEN)))) return "no live pen selected";
    if (GetObjectType(GetCurrentObject(image.dc, OBJ_BRUSH)) != OBJ_BRUSH) return "no live brush selected";
    if (GetObjectType(GetCurrentObject(image.dc, OBJ_FONT)) != OBJ_FONT) return "no live font selected";
    const LINESTYLE& line = image.penStyle;
    if ((line.dashes == nullptr) != (line.dashCount == 0)) return "line style dashes and dash count disagree";
    if (line.dashes && (line.style & 0x0F) != PS_USERSTYLE) return "line style keeps dashes for a kind without them";
    if (const IMAGE* pattern = image.brushStyle.pattern) {
        const std::string problem = ImageProblem(*pattern);
        if (!problem.empty()) return "pattern image: " + problem;
    }
    return {};
}

bool WindowAnswers(HWND window, UINT milliseconds)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &result) != 0;
}
