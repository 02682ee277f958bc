// Tovax: a small immediate-mode graphics library for Windows.
// This is the one header a program written against the library includes.
#pragma once

#include <windows.h>

#include <cstdint>

class IMAGE;

// Pen style of a target: kind, end-cap and join bits as ExtCreatePen takes them.
class LINESTYLE {
public:
    LINESTYLE();
    LINESTYLE(const LINESTYLE& other);
    virtual ~LINESTYLE();
    LINESTYLE& operator=(const LINESTYLE& other);

    uint32_t style;
    int32_t thickness;
    uint32_t* dashes;  // owned; present only for kind 7 with dashCount > 0
    uint32_t dashCount;
};

// Brush style of a target: LOGBRUSH kind, hatch, and a private pattern image.
class FILLSTYLE {
public:
    FILLSTYLE();
    FILLSTYLE(const FILLSTYLE& other);
    virtual ~FILLSTYLE();
    FILLSTYLE& operator=(const FILLSTYLE& other);

    int32_t style;
    int32_t hatch;
    IMAGE* pattern;  // owned; used by kinds 3 and 5
};

// A drawable surface: a top-down 32-bit DIB section, its memory device
// context and the drawing state that belongs to the surface.
class IMAGE {
public:
    explicit IMAGE(int width = 0, int height = 0);
    IMAGE(const IMAGE& other);
    virtual void ResetState();
    virtual ~IMAGE();
    virtual void Resize(int newWidth, int newHeight);
    IMAGE& operator=(const IMAGE& other);

    int32_t width;
    int32_t height;
    HBITMAP bitmap;
    HDC dc;
    int32_t curX;
    int32_t curY;
    XFORM transform;
    COLORREF lineColor;
    COLORREF fillColor;
    COLORREF textColor;
    COLORREF bkColor;
    uint32_t* pixels;  // width * height values 0x00RRGGBB, row 0 at the top
    LINESTYLE penStyle;
    FILLSTYLE brushStyle;
};

// One mouse message of the graphics window's client area.
struct MOUSEMSG {
    uint32_t message;
    bool ctrlDown;
    bool shiftDown;
    bool leftDown;
    bool middleDown;
    bool rightDown;
    int16_t x;
    int16_t y;
    int16_t wheelDelta;
};

// Flags of OpenGraphWindow.
enum WindowFlags : int {
    WindowFlagConsole = 1,
    WindowFlagNoCloseBox = 2,
    WindowFlagNoMinimizeBox = 4,
};

// Window, target and presenting.
HWND OpenGraphWindow(int width, int height, int flags);
void CloseGraphWindow();
void SelectTarget(IMAGE* image);
uint32_t* GetPixelBuffer(IMAGE* image);
void BeginBatch();
void FlushBatchRect(int left, int top, int right, int bottom);
void FlushBatch();
void EndBatchRect(int left, int top, int right, int bottom);
void EndBatch();

// Pictures, copies and blits.
void LoadResourcePicture(IMAGE* image, LPCSTR type, LPCSTR name, int width, int height, bool resize);
void CopyToImage(IMAGE* destination, int x, int y, int width, int height);
void BlitImage(int x, int y, IMAGE* image, DWORD rop);
void BlitImageRegion(int x, int y, int width, int height, IMAGE* image, int sourceX, int sourceY, DWORD rop);

// Colours and modes of the current target.
void ClearTarget();
COLORREF GetPenColor();
void SetPenColor(COLORREF color);
COLORREF GetTextForeground();
void SetTextForeground(COLORREF color);
void SetDrawColor(COLORREF color);
COLORREF GetBackgroundColor();
void SetBackgroundColor(COLORREF color);
int GetBackgroundMode();
void SetBackgroundMode(int mode);
void SetTargetOrigin(int x, int y);
void SetClipRegion(HRGN region);
void EraseClipRegion();
COLORREF GetBrushColor();
void SetBrushColor(COLORREF color);
void GetTargetScale(float* sx, float* sy);
void SetTargetScale(float sx, float sy);
int GetRasterOp();
void SetRasterOp(int rop2);
int GetFillRule();
void SetFillRule(int mode);
void ResetTargetState();

// Line and fill styles.
void GetLineStyle(LINESTYLE* out);
void ApplyLineStyle(uint32_t style, int thickness, const uint32_t* dashes, uint32_t dashCount);
void ApplyLineStyleRecord(const LINESTYLE* style);
void GetFillStyle(FILLSTYLE* out);
void ApplyFillStyle(int style, int hatch, const IMAGE* pattern);
void SetFillPattern(const uint8_t rows[8]);
void ApplyFillStyleRecord(const FILLSTYLE* style);

// Pixels, lines and shapes.
COLORREF ReadPixel(int x, int y);
void WritePixel(int x, int y, COLORREF color);
void SetCurrentPosition(int x, int y);
void MoveCurrentBy(int dx, int dy);
void DrawLine(int x1, int y1, int x2, int y2);
void DrawLineBy(int dx, int dy);
void DrawLineTo(int x, int y);
void DrawRectangle(int left, int top, int right, int bottom);
void DrawFilledRectangle(int left, int top, int right, int bottom);
void PaintRectangle(int left, int top, int right, int bottom);
void EraseRectangle(int left, int top, int right, int bottom);
void ComputeArcEndpoints(int left, int top, int right, int bottom, double start, double end, int* xs, int* ys, int* xe,
                         int* ye);
void DrawCircle(int x, int y, int r);
void DrawFilledCircle(int x, int y, int r);
void PaintCircle(int x, int y, int r);
void EraseCircle(int x, int y, int r);
void DrawEllipse(int left, int top, int right, int bottom);
void DrawFilledEllipse(int left, int top, int right, int bottom);
void PaintEllipse(int left, int top, int right, int bottom);
void EraseEllipse(int left, int top, int right, int bottom);
void DrawRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
void DrawFilledRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
void PaintRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
void EraseRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
void DrawArc(int left, int top, int right, int bottom, double start, double end);
void DrawPie(int left, int top, int right, int bottom, double start, double end);
void DrawFilledPie(int left, int top, int right, int bottom, double start, double end);
void PaintPie(int left, int top, int right, int bottom, double start, double end);
void ErasePie(int left, int top, int right, int bottom, double start, double end);
void DrawPolyline(const POINT* points, int count);
void DrawPolygon(const POINT* points, int count);
void DrawFilledPolygon(const POINT* points, int count);
void PaintPolygon(const POINT* points, int count);
void ErasePolygon(const POINT* points, int count);
void FloodFillArea(int x, int y, COLORREF border);

// Text.
void PrintAtCurrent(const char* text);
void PrintAt(int x, int y, const char* text);
int PrintInRect(const char* text, RECT* rect, uint32_t format);
int MeasureTextWidth(const char* text);
int MeasureTextHeight(const char* text);
void SetTextFontRecord(const LOGFONTA* style);
void SetTextFontFull(int height, int width, const char* face, int escapement, int orientation, int weight,
                     uint8_t italic, uint8_t underline, uint8_t strikeOut, uint8_t charSet, uint8_t outPrecision,
                     uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily);
void SetTextFontStyled(int height, int width, const char* face, int escapement, int orientation, int weight,
                       uint8_t italic, uint8_t underline, uint8_t strikeOut);
void SetTextFont(int height, int width, const char* face);
void GetTextFont(LOGFONTA* out);

// Size and position of the current target.
int GetTargetWidth();
int GetTargetHeight();
int GetCurrentX();
int GetCurrentY();
