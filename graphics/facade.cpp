// The drawing facade: free functions that forward to the current device.
// Calls made before any target exists, and window-only calls while an image
// is the current target, are ignored.
#include <utility>

#include "graphics_state.h"

using Tovax::DrawOnImg;
using Tovax::DrawOnWnd;
using Tovax::Graphics;

namespace {

template <typename Result, typename... Params, typename... Args>
Result Forward(Result (DrawOnImg::*operation)(Params...), Args&&... args)
{
    DrawOnImg* device = Graphics().device;
    if (!device) return Result();
    return (device->*operation)(std::forward<Args>(args)...);
}

template <typename... Params, typename... Args>
void ForwardToWindow(void (DrawOnWnd::*operation)(Params...), Args&&... args)
{
    DrawOnWnd* device = Tovax::CurrentWindowDevice();
    if (device) (device->*operation)(std::forward<Args>(args)...);
}

}  // namespace

HWND OpenGraphWindow(int width, int height, int flags)
{
    return Graphics().windowDevice.OpenGraphWindow(width, height, flags);
}

void CloseGraphWindow() { Graphics().windowDevice.CloseGraphWindow(); }

void SelectTarget(IMAGE* image)
{
    Tovax::GraphicsState& state = Graphics();
    Tovax::LockGuard guard;
    if (!image) {
        state.windowDC = state.window.clientDC;
        state.target = &state.window;
        state.device = &state.windowDevice;
        state.targetDC = state.window.dc;
    } else {
        state.target = image;
        state.device = &state.imageDevice;
        state.windowDC = nullptr;
        state.targetDC = image->dc;
    }
}

void BeginBatch() { ForwardToWindow(&DrawOnWnd::BeginBatch); }
void FlushBatchRect(int left, int top, int right, int bottom)
{
    ForwardToWindow(&DrawOnWnd::FlushBatchRect, left, top, right, bottom);
}
void FlushBatch() { ForwardToWindow(&DrawOnWnd::FlushBatch); }
void EndBatchRect(int left, int top, int right, int bottom)
{
    ForwardToWindow(&DrawOnWnd::EndBatchRect, left, top, right, bottom);
}
void EndBatch() { ForwardToWindow(&DrawOnWnd::EndBatch); }

void SetDrawColor(COLORREF color)
{
    SetPenColor(color);
    SetTextForeground(color);
}

void ClearTarget() { Forward(&DrawOnImg::ClearTarget); }
COLORREF GetPenColor() { return Forward(&DrawOnImg::GetPenColor); }
void SetPenColor(COLORREF color) { Forward(&DrawOnImg::SetPenColor, color); }
COLORREF GetTextForeground() { return Forward(&DrawOnImg::GetTextForeground); }
void SetTextForeground(COLORREF color) { Forward(&DrawOnImg::SetTextForeground, color); }
COLORREF GetBackgroundColor() { return Forward(&DrawOnImg::GetBackgroundColor); }
void SetBackgroundColor(COLORREF color) { Forward(&DrawOnImg::SetBackgroundColor, color); }
int GetBackgroundMode() { return Forward(&DrawOnImg::GetBackgroundMode); }
void SetBackgroundMode(int mode) { Forward(&DrawOnImg::SetBackgroundMode, mode); }
void SetTargetOrigin(int x, int y) { Forward(&DrawOnImg::SetTargetOrigin, x, y); }
void SetClipRegion(HRGN region) { Forward(&DrawOnImg::SetClipRegion, region); }
void EraseClipRegion() { Forward(&DrawOnImg::EraseClipRegion); }
COLORREF GetBrushColor() { return Forward(&DrawOnImg::GetBrushColor); }
void SetBrushColor(COLORREF color) { Forward(&DrawOnImg::SetBrushColor, color); }
void GetTargetScale(float* sx, float* sy) { Forward(&DrawOnImg::GetTargetScale, sx, sy); }
void SetTargetScale(float sx, float sy) { Forward(&DrawOnImg::SetTargetScale, sx, sy); }
int GetRasterOp() { return Forward(&DrawOnImg::GetRasterOp); }
void SetRasterOp(int rop2) { Forward(&DrawOnImg::SetRasterOp, rop2); }
int GetFillRule() { return Forward(&DrawOnImg::GetFillRule); }
void SetFillRule(int mode) { Forward(&DrawOnImg::SetFillRule, mode); }
void ResetTargetState() { Forward(&DrawOnImg::ResetTargetState); }

void GetLineStyle(LINESTYLE* out) { Forward(&DrawOnImg::GetLineStyle, out); }
void ApplyLineStyle(uint32_t style, int thickness, const uint32_t* dashes, uint32_t dashCount)
{
    Forward(&DrawOnImg::ApplyLineStyle, style, thickness, dashes, dashCount);
}
void ApplyLineStyleRecord(const LINESTYLE* style) { Forward(&DrawOnImg::ApplyLineStyleRecord, style); }
void GetFillStyle(FILLSTYLE* out) { Forward(&DrawOnImg::GetFillStyle, out); }
void ApplyFillStyle(int style, int hatch, const IMAGE* pattern)
{
    Forward(&DrawOnImg::ApplyFillStyle, style, hatch, pattern);
}
void SetFillPattern(const uint8_t rows[8]) { Forward(&DrawOnImg::SetFillPattern, rows); }
void ApplyFillStyleRecord(const FILLSTYLE* style) { Forward(&DrawOnImg::ApplyFillStyleRecord, style); }

COLORREF ReadPixel(int x, int y) { return Forward(&DrawOnImg::ReadPixel, x, y); }
void WritePixel(int x, int y, COLORREF color) { Forward(&DrawOnImg::WritePixel, x, y, color); }
void SetCurrentPosition(int x, int y) { Forward(&DrawOnImg::SetCurrentPosition, x, y); }
void MoveCurrentBy(int dx, int dy) { Forward(&DrawOnImg::MoveCurrentBy, dx, dy); }
void DrawLine(int x1, int y1, int x2, int y2) { Forward(&DrawOnImg::DrawLine, x1, y1, x2, y2); }
void DrawLineBy(int dx, int dy) { Forward(&DrawOnImg::DrawLineBy, dx, dy); }
void DrawLineTo(int x, int y) { Forward(&DrawOnImg::DrawLineTo, x, y); }
void DrawRectangle(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::DrawRectangle, left, top, right, bottom);
}
void DrawFilledRectangle(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::DrawFilledRectangle, left, top, right, bottom);
}
void PaintRectangle(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::PaintRectangle, left, top, right, bottom);
}
void EraseRectangle(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::EraseRectangle, left, top, right, bottom);
}
void ComputeArcEndpoints(int left, int top, int right, int bottom, double start, double end, int* xs, int* ys, int* xe,
                         int* ye)
{
    Forward(&DrawOnImg::ComputeArcEndpoints, left, top, right, bottom, start, end, xs, ys, xe, ye);
}
void DrawCircle(int x, int y, int r) { Forward(&DrawOnImg::DrawCircle, x, y, r); }
void DrawFilledCircle(int x, int y, int r) { Forward(&DrawOnImg::DrawFilledCircle, x, y, r); }
void PaintCircle(int x, int y, int r) { Forward(&DrawOnImg::PaintCircle, x, y, r); }
void EraseCircle(int x, int y, int r) { Forward(&DrawOnImg::EraseCircle, x, y, r); }
void DrawEllipse(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::DrawEllipse, left, top, right, bottom);
}
void DrawFilledEllipse(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::DrawFilledEllipse, left, top, right, bottom);
}
void PaintEllipse(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::PaintEllipse, left, top, right, bottom);
}
void EraseEllipse(int left, int top, int right, int bottom)
{
    Forward(&DrawOnImg::EraseEllipse, left, top, right, bottom);
}
void DrawRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Forward(&DrawOnImg::DrawRoundRect, left, top, right, bottom, ellipseWidth, ellipseHeight);
}
void DrawFilledRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Forward(&DrawOnImg::DrawFilledRoundRect, left, top, right, bottom, ellipseWidth, ellipseHeight);
}
void PaintRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Forward(&DrawOnImg::PaintRoundRect, left, top, right, bottom, ellipseWidth, ellipseHeight);
}
void EraseRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Forward(&DrawOnImg::EraseRoundRect, left, top, right, bottom, ellipseWidth, ellipseHeight);
}
void DrawArc(int left, int top, int right, int bottom, double start, double end)
{
    Forward(&DrawOnImg::DrawArc, left, top, right, bottom, start, end);
}
void DrawPie(int left, int top, int right, int bottom, double start, double end)
{
    Forward(&DrawOnImg::DrawPie, left, top, right, bottom, start, end);
}
void DrawFilledPie(int left, int top, int right, int bottom, double start, double end)
{
    Forward(&DrawOnImg::DrawFilledPie, left, top, right, bottom, start, end);
}
void PaintPie(int left, int top, int right, int bottom, double start, double end)
{
    Forward(&DrawOnImg::PaintPie, left, top, right, bottom, start, end);
}
void ErasePie(int left, int top, int right, int bottom, double start, double end)
{
    Forward(&DrawOnImg::ErasePie, left, top, right, bottom, start, end);
}
void DrawPolyline(const POINT* points, int count) { Forward(&DrawOnImg::DrawPolyline, points, count); }
void DrawPolygon(const POINT* points, int count) { Forward(&DrawOnImg::DrawPolygon, points, count); }
void DrawFilledPolygon(const POINT* points, int count) { Forward(&DrawOnImg::DrawFilledPolygon, points, count); }
void PaintPolygon(const POINT* points, int count) { Forward(&DrawOnImg::PaintPolygon, points, count); }
void ErasePolygon(const POINT* points, int count) { Forward(&DrawOnImg::ErasePolygon, points, count); }
void FloodFillArea(int x, int y, COLORREF border) { Forward(&DrawOnImg::FloodFillArea, x, y, border); }

void PrintAtCurrent(const char* text) { Forward(&DrawOnImg::PrintAtCurrent, text); }
void PrintAt(int x, int y, const char* text) { Forward(&DrawOnImg::PrintAt, x, y, text); }
int PrintInRect(const char* text, RECT* rect, uint32_t format)
{
    return Forward(&DrawOnImg::PrintInRect, text, rect, format);
}
int MeasureTextWidth(const char* text) { return Forward(&DrawOnImg::MeasureTextWidth, text); }
int MeasureTextHeight(const char* text) { return Forward(&DrawOnImg::MeasureTextHeight, text); }
void SetTextFontRecord(const LOGFONTA* style) { Forward(&DrawOnImg::SetTextFontRecord, style); }
void SetTextFontFull(int height, int width, const char* face, int escapement, int orientation, int weight,
                     uint8_t italic, uint8_t underline, uint8_t strikeOut, uint8_t charSet, uint8_t outPrecision,
                     uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily)
{
    Forward(&DrawOnImg::SetTextFontFull, height, width, face, escapement, orientation, weight, italic, underline,
            strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily);
}
void SetTextFontStyled(int height, int width, const char* face, int escapement, int orientation, int weight,
                       uint8_t italic, uint8_t underline, uint8_t strikeOut)
{
    Forward(&DrawOnImg::SetTextFontStyled, height, width, face, escapement, orientation, weight, italic, underline,
            strikeOut);
}
void SetTextFont(int height, int width, const char* face) { Forward(&DrawOnImg::SetTextFont, height, width, face); }
void GetTextFont(LOGFONTA* out) { Forward(&DrawOnImg::GetTextFont, out); }

int GetTargetWidth() { return Forward(&DrawOnImg::GetTargetWidth); }
int GetTargetHeight() { return Forward(&DrawOnImg::GetTargetHeight); }
int GetCurrentX() { return Forward(&DrawOnImg::GetCurrentX); }
int GetCurrentY() { return Forward(&DrawOnImg::GetCurrentY); }
