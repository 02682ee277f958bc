#include "drawing_reach.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fuzz_arguments.h"
#include "graphics_state.h"

using Tovax::Graphics;

namespace {

double TransformScale(const XFORM& transform)
{
    return std::max(
        {std::fabs(transform.eM11), std::fabs(transform.eM12), std::fabs(transform.eM21), std::fabs(transform.eM22)});
}

struct PenProfile {
    double width;  // logical units
    bool dashed;
};

bool IsDashedKind(DWORD style)
{
    const DWORD kind = style & PS_STYLE_MASK;
    return kind == PS_DASH || kind == PS_DOT || kind == PS_DASHDOT || kind == PS_DASHDOTDOT || kind == PS_ALTERNATE ||
           kind == PS_USERSTYLE;
}

PenProfile SelectedPen(HDC dc)
{
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    if (GetObjectType(pen) == OBJ_EXTPEN) {
        struct {
            EXTLOGPEN pen;
            DWORD moreDashes[FuzzArguments::kMaxDashes];
        } description = {};
        if (!GetObjectA(pen, sizeof(description), &description)) return {HUGE_VAL, true};
        return {double(description.pen.elpWidth), IsDashedKind(description.pen.elpPenStyle)};
    }
    LOGPEN description = {};
    if (!GetObjectA(pen, sizeof(description), &description)) return {HUGE_VAL, true};
    return {double(description.lopnWidth.x), IsDashedKind(description.lopnStyle)};
}

// The device contexts that drawing on the current target reaches.
int DrawingContexts(HDC (&contexts)[2])
{
    Tovax::GraphicsState& state = Graphics();
    int count = 0;
    if (state.targetDC) contexts[count++] = state.targetDC;
    if (state.windowDC) contexts[count++] = state.windowDC;
    return count;
}

// Whether a logical point, transformed by `transform`, lies within `reach` of
// the device origin; never for a transform or point that is not finite.
bool DeviceWithin(const XFORM& transform, double x, double y, double reach)
{
    const double deviceX = x * transform.eM11 + y * transform.eM21 + transform.eDx;
    const double deviceY = x * transform.eM12 + y * transform.eM22 + transform.eDy;
    return std::fabs(deviceX) <= reach && std::fabs(deviceY) <= reach;
}

}  // namespace

bool PointsReachable(const POINT* at, int count, double reach, double penReach)
{
    HDC contexts[2];
    const int contextCount = DrawingContexts(contexts);
    for (int c = 0; c < contextCount; ++c) {
        XFORM transform = {};
        if (!GetWorldTransform(contexts[c], &transform)) return false;
        double pointReach = reach;
        // An infinite pen reach: the call draws without its outline.
        if (penReach < HUGE_VAL) {
            const PenProfile pen = SelectedPen(contexts[c]);
            const double deviceWidth = pen.width * TransformScale(transform);
            if (!(deviceWidth <= penReach)) return false;
            if (pen.dashed) pointReach = std::min(pointReach, kDashedReach);
            // A pen wider than a pixel is drawn as a polygon.
            if (deviceWidth > 1.5) pointReach = std::min(pointReach, kPolygonReach);
        }
        for (int i = 0; i < count; ++i) {
            if (!DeviceWithin(transform, at[i].x, at[i].y, pointReach)) return false;
        }
    }
    return true;
}

bool BoxReachable(const RECT& box, double reach, double penReach)
{
    const std::array<POINT, 4> corners = Corners(box);
    return PointsReachable(corners.data(), 4, reach, penReach);
}

bool GlyphsReachable(const POINT* anchors, int count)
{
    HDC contexts[2];
    const int contextCount = DrawingContexts(contexts);
    for (int c = 0; c < contextCount; ++c) {
        XFORM transform = {};
        LOGFONTA font = {};
        if (!GetWorldTransform(contexts[c], &transform)) return false;
        if (!GetObjectA(GetCurrentObject(contexts[c], OBJ_FONT), sizeof(font), &font)) return false;
        const double scale = TransformScale(transform);
        const double height = font.lfHeight ? std::fabs(double(font.lfHeight)) : 16.0;
        if (!(height * scale <= kGlyphReach && std::fabs(double(font.lfWidth)) * scale <= kGlyphReach)) return false;
        if (!font.lfUnderline && !font.lfStrikeOut) continue;
        for (int i = 0; i < count; ++i) {
            if (!DeviceWithin(transform, anchors[i].x, anchors[i].y, kLinedTextReach)) return false;
        }
    }
    return true;
}

bool BlockReachable(int x, int y, int width, int height)
{
    HDC contexts[2];
    const int contextCount = DrawingContexts(contexts);
    Tovax::LockGuard guard;
    for (int c = 0; c < contextCount; ++c) {
        if (!BlockWithin(contexts[c], x, y, width, height)) return false;
    }
    return true;
}

bool BlockWithin(HDC dc, int x, int y, int width, int height)
{
    XFORM transform = {};
    if (!dc || !GetWorldTransform(dc, &transform)) return false;
    const double xs[2] = {double(x), double(x) + double(width)};
    const double ys[2] = {double(y), double(y) + double(height)};
    for (double cornerX : xs) {
        for (double cornerY : ys) {
            if (!DeviceWithin(transform, cornerX, cornerY, kBlockReach)) return false;
        }
    }
    return true;
}

bool AverageCharacterWidthKnown()
{
    HDC contexts[2];
    const int contextCount = DrawingContexts(contexts);
    for (int c = 0; c < contextCount; ++c) {
        TEXTMETRICA metrics = {};
        Tovax::LockGuard guard;
        if (!GetTextMetricsA(contexts[c], &metrics) || metrics.tmAveCharWidth <= 0) return false;
    }
    return true;
}

std::array<POINT, 4> Corners(const RECT& box)
{
    return {{{box.left, box.top}, {box.right, box.bottom}, {box.left, box.bottom}, {box.right, box.top}}};
}

std::string DescribeContext(HDC dc)
{
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
    XFORM transform = {};
    GetWorldTransform(dc, &transform);
    const PenProfile pen = SelectedPen(dc);
    char line[512];
    int length = std::snprintf(line, sizeof(line),
                               "font %ld x %ld esc %ld or %ld weight %ld it %u ul %u so %u cs %u op %u cp %u "
                               "q %u pf %u face",
                               font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight,
                               font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
                               font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily);
    for (int i = 0; i < LF_FACESIZE && font.lfFaceName[i] && length < 400; ++i) {
        const unsigned byte = static_cast<uint8_t>(font.lfFaceName[i]);
        length += std::snprintf(line + length, sizeof(line) - length, " %02X", byte);
    }
    std::snprintf(line + length, sizeof(line) - length, "; transform %g %g %g %g %g %g; pen %g%s", transform.eM11,
                  transform.eM12, transform.eM21, transform.eM22, transform.eDx, transform.eDy, pen.width,
                  pen.dashed ? " dashed" : "");
    return line;
}
