// The drawing device of an off-screen image: the table of the 78 drawing
// operations. Operations reach each other through the table, so the window
// device's replacements take part in inherited operations.
#pragma once

#include "../tovax.h"

namespace Tovax {

class DrawOnImg {
public:
    virtual ~DrawOnImg();
    virtual void ClearTarget();
    virtual COLORREF GetPenColor();
    virtual void SetPenColor(COLORREF color);
    virtual COLORREF GetTextForeground();
    virtual void SetTextForeground(COLORREF color);
    virtual COLORREF GetBackgroundColor();
    virtual void SetBackgroundColor(COLORREF color);
    virtual int GetBackgroundMode();
    virtual void SetBackgroundMode(int mode);
    virtual void SetTargetOrigin(int x, int y);
    virtual void SetClipRegion(HRGN region);
    virtual void EraseClipRegion();
    virtual void GetLineStyle(LINESTYLE* out);
    virtual void ApplyLineStyle(uint32_t style, int thickness, const uint32_t* dashes, uint32_t dashCount);
    virtual void ApplyLineStyleRecord(const LINESTYLE* style);
    virtual void GetFillStyle(FILLSTYLE* out);
    virtual void ApplyFillStyle(int style, int hatch, const IMAGE* pattern);
    virtual void SetFillPattern(const uint8_t rows[8]);
    virtual void ApplyFillStyleRecord(const FILLSTYLE* style);
    virtual COLORREF GetBrushColor();
    virtual void SetBrushColor(COLORREF color);
    virtual void GetTargetScale(float* sx, float* sy);
    virtual void SetTargetScale(float sx, float sy);
    virtual int GetRasterOp();
    virtual void SetRasterOp(int rop2);
    virtual int GetFillRule();
    virtual void SetFillRule(int mode);
    virtual void ResetTargetState();
    virtual COLORREF ReadPixel(int x, int y);
    virtual void WritePixel(int x, int y, COLORREF color);
    virtual void SetCurrentPosition(int x, int y);
    virtual void MoveCurrentBy(int dx, int dy);
    virtual void DrawLine(int x1, int y1, int x2, int y2);
    virtual void DrawLineBy(int dx, int dy);
    virtual void DrawLineTo(int x, int y);
    virtual void DrawRectangle(int left, int top, int right, int bottom);
    virtual void DrawFilledRectangle(int left, int top, int right, int bottom);
    virtual void PaintRectangle(int left, int top, int right, int bottom);
    virtual void EraseRectangle(int left, int top, int right, int bottom);
    virtual void ComputeArcEndpoints(int left, int top, int right, int bottom, double start, double end, int* xs,
                                     int* ys, int* xe, int* ye);
    virtual void DrawCircle(int x, int y, int r);
    virtual void DrawFilledCircle(int x, int y, int r);
    virtual void PaintCircle(int x, int y, int r);
    virtual void EraseCircle(int x, int y, int r);
    virtual void DrawEllipse(int left, int top, int right, int bottom);
    virtual void DrawFilledEllipse(int left, int top, int right, int bottom);
    virtual void PaintEllipse(int left, int top, int right, int bottom);
    virtual void EraseEllipse(int left, int top, int right, int bottom);
    virtual void DrawRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    virtual void DrawFilledRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    virtual void PaintRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    virtual void EraseRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    virtual void DrawArc(int left, int top, int right, int bottom, double start, double end);
    virtual void DrawPie(int left, int top, int right, int bottom, double start, double end);
    virtual void DrawFilledPie(int left, int top, int right, int bottom, double start, double end);
    virtual void PaintPie(int left, int top, int right, int bottom, double start, double end);
    virtual void ErasePie(int left, int top, int right, int bottom, double start, double end);
    virtual void DrawPolyline(const POINT* points, int count);
    virtual void DrawPolygon(const POINT* points, int count);
    virtual void DrawFilledPolygon(const POINT* points, int count);
    virtual void PaintPolygon(const POINT* points, int count);
    virtual void ErasePolygon(const POINT* points, int count);
    virtual void FloodFillArea(int x, int y, COLORREF border);
    virtual void PrintAtCurrent(const char* text);
    virtual void PrintAt(int x, int y, const char* text);
    virtual int PrintInRect(const char* text, RECT* rect, uint32_t format);
    virtual int MeasureTextWidth(const char* text);
    virtual int MeasureTextHeight(const char* text);
    virtual void SetTextFontRecord(const LOGFONTA* style);
    virtual void SetTextFontFull(int height, int width, const char* face, int escapement, int orientation, int weight,
                                 uint8_t italic, uint8_t underline, uint8_t strikeOut, uint8_t charSet,
                                 uint8_t outPrecision, uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily);
    virtual void SetTextFontStyled(int height, int width, const char* face, int escapement, int orientation, int weight,
                                   uint8_t italic, uint8_t underline, uint8_t strikeOut);
    virtual void SetTextFont(int height, int width, const char* face);
    virtual void GetTextFont(LOGFONTA* out);
    virtual int GetTargetWidth();
    virtual int GetTargetHeight();
    virtual int GetCurrentX();
    virtual int GetCurrentY();

    // A packed device-independent bitmap of the image's pixels in fixed global
    // memory (free it with GlobalFree), or null.
    HGLOBAL BuildPackedDib(const IMAGE* image, uint32_t compression, HPALETTE palette);
};

}  // namespace Tovax
