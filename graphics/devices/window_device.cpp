// The window device: every platform call on the back buffer is repeated on
// the window context under the lock. Drawing is mirrored only outside a
// batch; state changes always, so that both contexts draw alike. The window
// context is read under the lock and may be null once the window's own
// thread has closed the window.
#include <algorithm>
#include <cstring>

#include "device_objects.h"

namespace Tovax {

namespace {

// The same drawing call on the back buffer and, outside a batch, on the window.
template <typename Call>
void DrawOnBoth(Call call)
{
    GraphicsState& state = Graphics();
    bool mirrored = false;
    {
        LockGuard guard;
        call(state.targetDC);
        mirrored = !state.window.batching && state.windowDC;
        if (mirrored) call(state.windowDC);
    }
    if (mirrored) RevealWindowDrawing();
}

// The same state change on both contexts, in a batch or not.
template <typename Call>
void ApplyToBoth(Call call)
{
    GraphicsState& state = Graphics();
    LockGuard guard;
    call(state.targetDC);
    if (state.windowDC) call(state.windowDC);
}

// Makes one object under the lock and selects it into both contexts.
template <typename Make>
void SelectIntoBoth(Make make)
{
    GraphicsState& state = Graphics();
    LockGuard guard;
    ReplaceSelectionInBoth(state.targetDC, state.windowDC, make());
}

}  // namespace

DrawOnWnd::~DrawOnWnd() = default;

void DrawOnWnd::ClearTarget()
{
    GraphicsState& state = Graphics();
    IMAGE& target = CurrentTarget();
    const uint32_t pixel = ColorToPixel(target.bkColor);
    {
        LockGuard guard;
        if (target.pixels) {
            std::fill_n(target.pixels, static_cast<size_t>(target.width) * static_cast<size_t>(target.height), pixel);
        }
    }
    if (!state.window.batching) FlushBatch();
    SetCurrentPosition(0, 0);
}

void DrawOnWnd::SetTextForeground(COLORREF color)
{
    CurrentTarget().textColor = color;
    ApplyToBoth([&](HDC dc) { SetTextColor(dc, color); });
}

void DrawOnWnd::SetBackgroundColor(COLORREF color)
{
    CurrentTarget().bkColor = color;
    ApplyToBoth([&](HDC dc) { SetBkColor(dc, color); });
}

void DrawOnWnd::SetBackgroundMode(int mode)
{
    ApplyToBoth([&](HDC dc) { SetBkMode(dc, mode); });
}

void DrawOnWnd::SetTargetOrigin(int x, int y)
{
    IMAGE& target = CurrentTarget();
    target.transform.eDx = static_cast<float>(x);
    target.transform.eDy = static_cast<float>(y);
    ApplyToBoth([&](HDC dc) { SetWorldTransform(dc, &target.transform); });
}

void DrawOnWnd::SetClipRegion(HRGN region)
{
    ApplyToBoth([&](HDC dc) { SelectClipRgn(dc, region); });
}

void DrawOnWnd::EraseClipRegion()
{
    GraphicsState& state = Graphics();
    IMAGE& target = CurrentTarget();
    OwnedGdiObject region(CreateRectRgn(0, 0, 0, 0));
    OwnedGdiObject brush(CreateSolidBrush(target.bkColor));
    int hasClip = 0;
    {
        // The clip query is a call on the back buffer's context too, which the
        // window thread may be painting from.
        LockGuard guard;
        hasClip = GetClipRgn(state.targetDC, static_cast<HRGN>(region.get()));
        // The clip region is in device coordinates; it is cleared on the window even in a batch.
        if (hasClip == 1) {
            for (HDC dc : {state.targetDC, state.windowDC}) {
                if (!dc) continue;
                SetWorldTransform(dc, &state.identityTransform);
                FillRgn(dc, static_cast<HRGN>(region.get()), static_cast<HBRUSH>(brush.get()));
                SetWorldTransform(dc, &target.transform);
            }
        }
    }
    if (hasClip == 1) RevealWindowDrawing();
    if (hasClip == 0) ClearTarget();
}

void DrawOnWnd::ApplyLineStyleRecord(const LINESTYLE* style)
{
    IMAGE& target = CurrentTarget();
    PrepareLineStyle(target, style);
    SelectIntoBoth([&] { return CreateStylePen(target); });
}

void DrawOnWnd::ApplyFillStyleRecord(const FILLSTYLE* style)
{
    // The recipe outlives the lock: the pattern bitmaps are released after it.
    BrushRecipe recipe;
    if (!recipe.Prepare(*this, CurrentTarget(), style)) return;
    SelectIntoBoth([&] { return recipe.CreateBrush(); });
}

void DrawOnWnd::SetBrushColor(COLORREF color)
{
    IMAGE& target = CurrentTarget();
    target.fillColor = color;
    if (target.brushStyle.style == BS_SOLID) {
        SelectIntoBoth([&] { return CreateSolidBrush(color); });
    } else if (target.brushStyle.style == BS_HATCHED) {
        ApplyFillStyleRecord(&target.brushStyle);
    }
}

void DrawOnWnd::SetTargetScale(float sx, float sy)
{
    IMAGE& target = CurrentTarget();
    target.transform.eM11 = sx;
    target.transform.eM22 = sy;
    ApplyToBoth([&](HDC dc) { SetWorldTransform(dc, &target.transform); });
}

void DrawOnWnd::SetRasterOp(int rop2)
{
    ApplyToBoth([&](HDC dc) { SetROP2(dc, rop2); });
}

void DrawOnWnd::SetFillRule(int mode)
{
    ApplyToBoth([&](HDC dc) { SetPolyFillMode(dc, mode); });
}

void DrawOnWnd::WritePixel(int x, int y, COLORREF color)
{
    DrawOnBoth([&](HDC dc) { SetPixelV(dc, x, y, color); });
}

void DrawOnWnd::SetCurrentPosition(int x, int y)
{
    IMAGE& target = CurrentTarget();
    ApplyToBoth([&](HDC dc) { MoveToEx(dc, x, y, nullptr); });
    target.curX = x;
    target.curY = y;
}

void DrawOnWnd::DrawLine(int x1, int y1, int x2, int y2)
{
    GraphicsState& state = Graphics();
    bool mirrored = false;
    {
        LockGuard guard;
        MoveToEx(state.targetDC, x1, y1, nullptr);
        LineTo(state.targetDC, x2, y2);
        if (!state.windowDC) return;
        MoveToEx(state.windowDC, x1, y1, nullptr);
        // In a batch the window context only follows the back buffer's position.
        if (state.window.batching) {
            MoveToEx(state.windowDC, x2, y2, nullptr);
        } else {
            LineTo(state.windowDC, x2, y2);
            mirrored = true;
        }
    }
    if (mirrored) RevealWindowDrawing();
}

void DrawOnWnd::DrawFilledRectangle(int left, int top, int right, int bottom)
{
    DrawOnBoth([&](HDC dc) { Rectangle(dc, left, top, right, bottom); });
}

void DrawOnWnd::DrawFilledCircle(int x, int y, int r)
{
    DrawOnBoth([&](HDC dc) { Ellipse(dc, x - r, y - r, x + r, y + r); });
}

void DrawOnWnd::DrawFilledEllipse(int left, int top, int right, int bottom)
{
    DrawOnBoth([&](HDC dc) { Ellipse(dc, left, top, right, bottom); });
}

void DrawOnWnd::DrawFilledRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    DrawOnBoth([&](HDC dc) { RoundRect(dc, left, top, right, bottom, ellipseWidth, ellipseHeight); });
}

void DrawOnWnd::DrawArc(int left, int top, int right, int bottom, double start, double end)
{
    int xs, ys, xe, ye;
    ComputeArcEndpoints(left, top, right, bottom, start, end, &xs, &ys, &xe, &ye);
    DrawOnBoth([&](HDC dc) { Arc(dc, left, top, right, bottom, xs, ys, xe, ye); });
}

void DrawOnWnd::DrawFilledPie(int left, int top, int right, int bottom, double start, double end)
{
    int xs, ys, xe, ye;
    ComputeArcEndpoints(left, top, right, bottom, start, end, &xs, &ys, &xe, &ye);
    DrawOnBoth([&](HDC dc) { Pie(dc, left, top, right, bottom, xs, ys, xe, ye); });
}

void DrawOnWnd::DrawPolyline(const POINT* points, int count)
{
    DrawOnBoth([&](HDC dc) { Polyline(dc, points, count); });
}

void DrawOnWnd::DrawFilledPolygon(const POINT* points, int count)
{
    DrawOnBoth([&](HDC dc) { Polygon(dc, points, count); });
}

void DrawOnWnd::FloodFillArea(int x, int y, COLORREF border)
{
    DrawOnBoth([&](HDC dc) { ExtFloodFill(dc, x, y, border, FLOODFILLBORDER); });
}

void DrawOnWnd::PrintAt(int x, int y, const char* text)
{
    if (!text) return;
    const int length = static_cast<int>(std::strlen(text));
    DrawOnBoth([&](HDC dc) { TextOutA(dc, x, y, text, length); });
}

int DrawOnWnd::PrintInRect(const char* text, RECT* rect, uint32_t format)
{
    if (!text) return 0;
    GraphicsState& state = Graphics();
    // The window gets the rectangle as given, not what a DT_CALCRECT call wrote back.
    RECT windowRect = rect ? *rect : RECT{};
    format = WithoutTextWriteBack(format);
    int height = 0;
    bool mirrored = false;
    {
        LockGuard guard;
        height = DrawTextA(state.targetDC, text, -1, rect, format);
        mirrored = !state.window.batching && state.windowDC;
        if (mirrored) DrawTextA(state.windowDC, text, -1, rect ? &windowRect : nullptr, format);
    }
    if (mirrored) RevealWindowDrawing();
    return height;
}

void DrawOnWnd::SetTextFontRecord(const LOGFONTA* style)
{
    SelectIntoBoth([&] { return CreateFontIndirectA(style); });
}

void DrawOnWnd::GetTextFont(LOGFONTA* out)
{
    GraphicsState& state = Graphics();
    LockGuard guard;
    GetObjectA(GetCurrentObject(state.targetDC, OBJ_FONT), sizeof(LOGFONTA), out);
}

// Queries of the back buffer's context take the lock as well: the window
// thread uses that context while it paints, and a context busy on another
// thread answers nothing.
int DrawOnWnd::GetBackgroundMode()
{
    LockGuard guard;
    return DrawOnImg::GetBackgroundMode();
}

int DrawOnWnd::GetRasterOp()
{
    LockGuard guard;
    return DrawOnImg::GetRasterOp();
}

int DrawOnWnd::GetFillRule()
{
    LockGuard guard;
    return DrawOnImg::GetFillRule();
}

COLORREF DrawOnWnd::ReadPixel(int x, int y)
{
    LockGuard guard;
    return DrawOnImg::ReadPixel(x, y);
}

int DrawOnWnd::MeasureTextWidth(const char* text)
{
    LockGuard guard;
    return DrawOnImg::MeasureTextWidth(text);
}

int DrawOnWnd::MeasureTextHeight(const char* text)
{
    LockGuard guard;
    return DrawOnImg::MeasureTextHeight(text);
}

}  // namespace Tovax
