// The drawing device of the window: draws on the back buffer and mirrors
// every drawing onto the window unless a batch is open; state changes always
// reach both device contexts.
#pragma once

#include "draw_on_img.h"

namespace Tovax {

class DrawOnWnd : public DrawOnImg {
public:
    ~DrawOnWnd() override;
    void ClearTarget() override;
    void SetTextForeground(COLORREF color) override;
    void SetBackgroundColor(COLORREF color) override;
    int GetBackgroundMode() override;
    void SetBackgroundMode(int mode) override;
    void SetTargetOrigin(int x, int y) override;
    void SetClipRegion(HRGN region) override;
    void EraseClipRegion() override;
    void ApplyLineStyleRecord(const LINESTYLE* style) override;
    void ApplyFillStyleRecord(const FILLSTYLE* style) override;
    void SetBrushColor(COLORREF color) override;
    void SetTargetScale(float sx, float sy) override;
    int GetRasterOp() override;
    void SetRasterOp(int rop2) override;
    int GetFillRule() override;
    void SetFillRule(int mode) override;
    COLORREF ReadPixel(int x, int y) override;
    void WritePixel(int x, int y, COLORREF color) override;
    void SetCurrentPosition(int x, int y) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawFilledRectangle(int left, int top, int right, int bottom) override;
    void DrawFilledCircle(int x, int y, int r) override;
    void DrawFilledEllipse(int left, int top, int right, int bottom) override;
    void DrawFilledRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) override;
    void DrawArc(int left, int top, int right, int bottom, double start, double end) override;
    void DrawFilledPie(int left, int top, int right, int bottom, double start, double end) override;
    void DrawPolyline(const POINT* points, int count) override;
    void DrawFilledPolygon(const POINT* points, int count) override;
    void FloodFillArea(int x, int y, COLORREF border) override;
    void PrintAt(int x, int y, const char* text) override;
    int PrintInRect(const char* text, RECT* rect, uint32_t format) override;
    int MeasureTextWidth(const char* text) override;
    int MeasureTextHeight(const char* text) override;
    void SetTextFontRecord(const LOGFONTA* style) override;
    void GetTextFont(LOGFONTA* out) override;

    // Operations only the window has.
    virtual HWND OpenGraphWindow(int width, int height, int flags);
    virtual void CloseGraphWindow();
    virtual void BeginBatch();
    virtual void FlushBatchRect(int left, int top, int right, int bottom);
    virtual void FlushBatch();
    virtual void EndBatchRect(int left, int top, int right, int bottom);
    virtual void EndBatch();
};

}  // namespace Tovax
