// Pixels, lines, arcs, polylines, flood fill and the six closed-shape
// families with their outline, painted and erased variants.
#include <algorithm>
#include <climits>
#include <cmath>

#include "device_objects.h"

namespace Tovax {

namespace {

HDC TargetDC() { return Graphics().targetDC; }

// Outline only: a hollow brush around the primitive, the fill style restored after.
template <typename Primitive>
void WithHollowBrush(DrawOnImg& device, Primitive primitive)
{
    FILLSTYLE saved;
    device.GetFillStyle(&saved);
    const bool switched = saved.style != BS_NULL;
    if (switched) device.ApplyFillStyle(BS_NULL, 0, nullptr);
    primitive();
    if (switched) device.ApplyFillStyleRecord(&saved);
}

// Interior only: a null pen around the primitive, the line style restored after.
template <typename Primitive>
void WithNullPen(DrawOnImg& device, int thickness, Primitive primitive)
{
    LINESTYLE saved;
    device.GetLineStyle(&saved);
    const bool switched = saved.style != PS_NULL;
    if (switched) device.ApplyLineStyle(PS_NULL, thickness, nullptr, 0);
    primitive();
    if (switched) device.ApplyLineStyleRecord(&saved);
}

// Background colour: a plain solid brush of bkColor drawn with R2_COPYPEN,
// then raster operation, fill colour and fill style restored.
template <typename Painted>
void WithBackgroundBrush(DrawOnImg& device, Painted painted)
{
    const int rop = device.GetRasterOp();
    const COLORREF fillColor = device.GetBrushColor();
    FILLSTYLE saved;
    device.GetFillStyle(&saved);
    if (rop != R2_COPYPEN) device.SetRasterOp(R2_COPYPEN);
    const COLORREF background = device.GetBackgroundColor();
    const bool recoloured = fillColor != background;
    if (recoloured) device.SetBrushColor(background);
    const bool switched = saved.style != BS_SOLID;
    if (switched) device.ApplyFillStyle(BS_SOLID, 0, nullptr);
    painted();
    if (recoloured) device.SetBrushColor(fillColor);
    if (switched) device.ApplyFillStyleRecord(&saved);
    if (rop != R2_COPYPEN) device.SetRasterOp(rop);
}

// Nearest integer, halves away from zero.
int Nearest(double value) { return static_cast<int>(value >= 0 ? value + 0.5 : value - 0.5); }

}  // namespace

COLORREF DrawOnImg::ReadPixel(int x, int y) { return GetPixel(TargetDC(), x, y); }

void DrawOnImg::WritePixel(int x, int y, COLORREF color) { SetPixelV(TargetDC(), x, y, color); }

void DrawOnImg::DrawLine(int x1, int y1, int x2, int y2)
{
    MoveToEx(TargetDC(), x1, y1, nullptr);
    LineTo(TargetDC(), x2, y2);
}

void DrawOnImg::DrawLineBy(int dx, int dy)
{
    const IMAGE& target = CurrentTarget();
    DrawLineTo(target.curX + dx, target.curY + dy);
}

void DrawOnImg::DrawLineTo(int x, int y)
{
    IMAGE& target = CurrentTarget();
    DrawLine(target.curX, target.curY, x, y);
    target.curX = x;
    target.curY = y;
}

void DrawOnImg::DrawRectangle(int left, int top, int right, int bottom)
{
    WithHollowBrush(*this, [&] { DrawFilledRectangle(left, top, right, bottom); });
}

void DrawOnImg::DrawFilledRectangle(int left, int top, int right, int bottom)
{
    Rectangle(TargetDC(), left, top, right, bottom);
}

void DrawOnImg::PaintRectangle(int left, int top, int right, int bottom)
{
    // Without a pen the platform leaves out the right and bottom edges; the widened box puts them back.
    // An edge at the end of the coordinate range already lies past every target and stays.
    const auto widened = [](int edge) { return edge == INT_MAX ? edge : edge + 1; };
    WithNullPen(*this, 1, [&] {
        DrawFilledRectangle(std::min(left, right), std::min(top, bottom), widened(std::max(left, right)),
                            widened(std::max(top, bottom)));
    });
}

void DrawOnImg::EraseRectangle(int left, int top, int right, int bottom)
{
    WithBackgroundBrush(*this, [&] { PaintRectangle(left, top, right, bottom); });
}

void DrawOnImg::ComputeArcEndpoints(int left, int top, int right, int bottom, double start, double end, int* xs,
                                    int* ys, int* xe, int* ye)
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int64_t radiusX = (static_cast<int64_t>(right) - left) / 2;
    const int64_t radiusY = (static_cast<int64_t>(bottom) - top) / 2;
    const int64_t centerX = left + radiusX;
    const int64_t centerY = top + radiusY;
    auto pointAt = [&](double angle, int* x, int* y) {
        // An angle that is not a finite number has no direction: it counts as 0.
        if (angle == 0.0 || !std::isfinite(angle)) {
            *x = static_cast<int>(centerX + radiusX);
            *y = static_cast<int>(centerY);
            return;
        }
        *x = Nearest(static_cast<double>(centerX) + static_cast<double>(radiusX) * std::cos(angle));
        *y = Nearest(static_cast<double>(centerY) - static_cast<double>(radiusY) * std::sin(angle));
    };
    pointAt(start, xs, ys);
    pointAt(end, xe, ye);
}

void DrawOnImg::DrawCircle(int x, int y, int r)
{
    WithHollowBrush(*this, [&] { DrawFilledCircle(x, y, r); });
}

void DrawOnImg::DrawFilledCircle(int x, int y, int r) { Ellipse(TargetDC(), x - r, y - r, x + r, y + r); }

void DrawOnImg::PaintCircle(int x, int y, int r)
{
    WithNullPen(*this, 0, [&] { DrawFilledCircle(x, y, r); });
}

void DrawOnImg::EraseCircle(int x, int y, int r)
{
    WithBackgroundBrush(*this, [&] { PaintCircle(x, y, r); });
}

void DrawOnImg::DrawEllipse(int left, int top, int right, int bottom)
{
    WithHollowBrush(*this, [&] { DrawFilledEllipse(left, top, right, bottom); });
}

void DrawOnImg::DrawFilledEllipse(int left, int top, int right, int bottom)
{
    Ellipse(TargetDC(), left, top, right, bottom);
}

void DrawOnImg::PaintEllipse(int left, int top, int right, int bottom)
{
    WithNullPen(*this, 1, [&] { DrawFilledEllipse(left, top, right, bottom); });
}

void DrawOnImg::EraseEllipse(int left, int top, int right, int bottom)
{
    WithBackgroundBrush(*this, [&] { PaintEllipse(left, top, right, bottom); });
}

void DrawOnImg::DrawRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    WithHollowBrush(*this, [&] { DrawFilledRoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight); });
}

void DrawOnImg::DrawFilledRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    RoundRect(TargetDC(), left, top, right, bottom, ellipseWidth, ellipseHeight);
}

void DrawOnImg::PaintRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    WithNullPen(*this, 1, [&] { DrawFilledRoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight); });
}

void DrawOnImg::EraseRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    WithBackgroundBrush(*this, [&] { PaintRoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight); });
}

void DrawOnImg::DrawArc(int left, int top, int right, int bottom, double start, double end)
{
    int xs, ys, xe, ye;
    ComputeArcEndpoints(left, top, right, bottom, start, end, &xs, &ys, &xe, &ye);
    Arc(TargetDC(), left, top, right, bottom, xs, ys, xe, ye);
}

void DrawOnImg::DrawPie(int left, int top, int right, int bottom, double start, double end)
{
    WithHollowBrush(*this, [&] { DrawFilledPie(left, top, right, bottom, start, end); });
}

void DrawOnImg::DrawFilledPie(int left, int top, int right, int bottom, double start, double end)
{
    int xs, ys, xe, ye;
    ComputeArcEndpoints(left, top, right, bottom, start, end, &xs, &ys, &xe, &ye);
    Pie(TargetDC(), left, top, right, bottom, xs, ys, xe, ye);
}

void DrawOnImg::PaintPie(int left, int top, int right, int bottom, double start, double end)
{
    WithNullPen(*this, 1, [&] { DrawFilledPie(left, top, right, bottom, start, end); });
}

void DrawOnImg::ErasePie(int left, int top, int right, int bottom, double start, double end)
{
    WithBackgroundBrush(*this, [&] { PaintPie(left, top, right, bottom, start, end); });
}

void DrawOnImg::DrawPolyline(const POINT* points, int count) { Polyline(TargetDC(), points, count); }

void DrawOnImg::DrawPolygon(const POINT* points, int count)
{
    WithHollowBrush(*this, [&] { DrawFilledPolygon(points, count); });
}

void DrawOnImg::DrawFilledPolygon(const POINT* points, int count) { Polygon(TargetDC(), points, count); }

void DrawOnImg::PaintPolygon(const POINT* points, int count)
{
    WithNullPen(*this, 1, [&] { DrawFilledPolygon(points, count); });
}

void DrawOnImg::ErasePolygon(const POINT* points, int count)
{
    WithBackgroundBrush(*this, [&] { PaintPolygon(points, count); });
}

void DrawOnImg::FloodFillArea(int x, int y, COLORREF border)
{
    ExtFloodFill(TargetDC(), x, y, border, FLOODFILLBORDER);
}

}  // namespace Tovax
