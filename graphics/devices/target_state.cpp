// The image device's per-target state: colours, modes, transform, clip
// region, current position, clearing and reset.
#include <algorithm>

#include "device_objects.h"

namespace Tovax {

namespace {

HDC TargetDC() { return Graphics().targetDC; }

}  // namespace

DrawOnImg::~DrawOnImg() = default;

void DrawOnImg::ClearTarget()
{
    IMAGE& target = CurrentTarget();
    // Written straight into memory: clip region, transform and raster operation play no part.
    if (target.pixels) {
        std::fill_n(target.pixels, static_cast<size_t>(target.width) * static_cast<size_t>(target.height),
                    ColorToPixel(target.bkColor));
    }
    SetCurrentPosition(0, 0);
}

COLORREF DrawOnImg::GetPenColor() { return CurrentTarget().lineColor; }

void DrawOnImg::SetPenColor(COLORREF color)
{
    IMAGE& target = CurrentTarget();
    target.lineColor = color;
    ApplyLineStyleRecord(&target.penStyle);
}

COLORREF DrawOnImg::GetTextForeground() { return CurrentTarget().textColor; }

void DrawOnImg::SetTextForeground(COLORREF color)
{
    CurrentTarget().textColor = color;
    SetTextColor(TargetDC(), color);
}

COLORREF DrawOnImg::GetBackgroundColor() { return CurrentTarget().bkColor; }

void DrawOnImg::SetBackgroundColor(COLORREF color)
{
    CurrentTarget().bkColor = color;
    SetBkColor(TargetDC(), color);
}

int DrawOnImg::GetBackgroundMode() { return GetBkMode(TargetDC()); }

void DrawOnImg::SetBackgroundMode(int mode) { SetBkMode(TargetDC(), mode); }

void DrawOnImg::SetTargetOrigin(int x, int y)
{
    IMAGE& target = CurrentTarget();
    target.transform.eDx = static_cast<float>(x);
    target.transform.eDy = static_cast<float>(y);
    SetWorldTransform(TargetDC(), &target.transform);
}

void DrawOnImg::SetClipRegion(HRGN region) { SelectClipRgn(TargetDC(), region); }

void DrawOnImg::EraseClipRegion()
{
    OwnedGdiObject region(CreateRectRgn(0, 0, 0, 0));
    const int hasClip = GetClipRgn(TargetDC(), static_cast<HRGN>(region.get()));
    if (hasClip == 0) {
        ClearTarget();
        return;
    }
    if (hasClip != 1) return;
    IMAGE& target = CurrentTarget();
    OwnedGdiObject brush(CreateSolidBrush(target.bkColor));
    // The clip region is in device coordinates.
    SetWorldTransform(TargetDC(), &Graphics().identityTransform);
    FillRgn(TargetDC(), static_cast<HRGN>(region.get()), static_cast<HBRUSH>(brush.get()));
    SetWorldTransform(TargetDC(), &target.transform);
}

COLORREF DrawOnImg::GetBrushColor() { return CurrentTarget().fillColor; }

void DrawOnImg::GetTargetScale(float* sx, float* sy)
{
    const IMAGE& target = CurrentTarget();
    *sx = target.transform.eM11;
    *sy = target.transform.eM22;
}

void DrawOnImg::SetTargetScale(float sx, float sy)
{
    IMAGE& target = CurrentTarget();
    target.transform.eM11 = sx;
    target.transform.eM22 = sy;
    SetWorldTransform(TargetDC(), &target.transform);
}

int DrawOnImg::GetRasterOp() { return GetROP2(TargetDC()); }

void DrawOnImg::SetRasterOp(int rop2) { SetROP2(TargetDC(), rop2); }

int DrawOnImg::GetFillRule() { return GetPolyFillMode(TargetDC()); }

void DrawOnImg::SetFillRule(int mode) { SetPolyFillMode(TargetDC(), mode); }

void DrawOnImg::ResetTargetState() { CurrentTarget().ResetState(); }

void DrawOnImg::SetCurrentPosition(int x, int y)
{
    MoveToEx(TargetDC(), x, y, nullptr);
    IMAGE& target = CurrentTarget();
    target.curX = x;
    target.curY = y;
}

void DrawOnImg::MoveCurrentBy(int dx, int dy)
{
    const IMAGE& target = CurrentTarget();
    SetCurrentPosition(target.curX + dx, target.curY + dy);
}

int DrawOnImg::GetTargetWidth() { return CurrentTarget().width; }

int DrawOnImg::GetTargetHeight() { return CurrentTarget().height; }

int DrawOnImg::GetCurrentX() { return CurrentTarget().curX; }

int DrawOnImg::GetCurrentY() { return CurrentTarget().curY; }

}  // namespace Tovax
