// Drawing operations that both devices must draw alike, each with what its
// pixels must show. Each starts on a black target in the colours of
// StartColours().
#pragma once

#include <cmath>

#include "canvas.h"

inline void StartColours()
{
    SetPenColor(kRed);
    SetBrushColor(kGreen);
    SetTextForeground(kBlue);
    SetBackgroundColor(kGrey);
}

struct Operation {
    const char* name;
    std::function<void()> draw;
    std::function<void(const Shot&)> check;
    // Erases a clip region, which reaches the window even in a batch.
    bool erasesWindowInBatch = false;
};

namespace operations {

constexpr double kPi = 3.14159265358979323846;
const POINT kSquare[] = {{5, 5}, {25, 5}, {25, 25}, {5, 25}, {5, 5}};
const POINT kStar[] = {{20, 2}, {31, 35}, {3, 14}, {37, 14}, {9, 35}};
const uint8_t kChecker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
const uint32_t kDashes[] = {6, 2};
const uint32_t kTile[] = {0x102030, 0x405060, 0x708090, 0xA0B0C0};

inline void ExpectOnly(const Shot& shot, COLORREF color, int count)
{
    EXPECT_EQ(shot.Count(color), count);
    EXPECT_EQ(shot.Count(color) + shot.Count(0), kSide * kSide);
}

// Glyphs in the text colour; the cell behind them in the background colour or not.
inline void ExpectText(const Shot& shot, bool cell)
{
    EXPECT_GT(shot.Count(kBlue), 0);
    EXPECT_EQ(shot.Count(kGrey) > 0, cell);
}

}  // namespace operations

inline const std::vector<Operation>& AllOperations()
{
    using namespace operations;
    static const std::vector<Operation> all = {
        {"pixel", [] { WritePixel(3, 4, kWhite); },
         [](const Shot& s) {
             ExpectOnly(s, kWhite, 1);
             EXPECT_EQ(s.At(3, 4), Pixel(kWhite));
         }},
        {"line", [] { DrawLine(2, 30, 37, 30); },
         [](const Shot& s) { EXPECT_EQ(s.Bounds(kRed), (RECT{2, 30, 36, 30})); }},
        {"opaque text", [] { PrintAt(2, 2, "Hi"); },
         [](const Shot& s) { ExpectText(s, true); }},
        {"transparent text",
         [] {
             SetBackgroundMode(TRANSPARENT);
             PrintAt(2, 2, "Hi");
         },
         [](const Shot& s) { ExpectText(s, false); }},
        {"text in a rectangle",
         [] {
             RECT box = {0, 0, kSide, kSide};
             EXPECT_GT(PrintInRect("Hi", &box, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 0);
         },
         [](const Shot& s) {
             const RECT cell = s.Bounds(kGrey);
             EXPECT_EQ((std::vector<LONG>{cell.left > 0, cell.top > 0, cell.right, cell.bottom}),
                       (std::vector<LONG>{1, 1, 39, 39}));
         }},
        {"rectangle", [] { DrawFilledRectangle(20, 15, 5, 5); },
         [](const Shot& s) {
             EXPECT_EQ(s.Bounds(kRed), (RECT{5, 5, 20, 15}));
             EXPECT_EQ(s.Bounds(kGreen), (RECT{6, 6, 19, 14}));
         }},
        {"circle", [] { DrawFilledCircle(20, 20, 8); },
         [](const Shot& s) {
             EXPECT_EQ(s.Bounds(kRed), (RECT{12, 12, 27, 27}));
             EXPECT_EQ(s.At(20, 20), Pixel(kGreen));
         }},
        {"ellipse", [] { DrawFilledEllipse(5, 5, 30, 20); },
         [](const Shot& s) { EXPECT_EQ(s.Bounds(kRed), (RECT{5, 5, 29, 19})); }},
        {"round rect", [] { DrawFilledRoundRect(5, 5, 30, 20, 8, 8); },
         [](const Shot& s) {
             EXPECT_EQ(s.Bounds(kRed), (RECT{5, 5, 29, 19}));
             EXPECT_EQ(s.At(5, 5), 0u);
         }},
        {"arc", [] { DrawArc(0, 0, 30, 30, kPi / 2, kPi); },
         [](const Shot& s) {
             EXPECT_GT(s.Count(kRed), 15);
             EXPECT_EQ(s.Bounds(kRed), (RECT{0, 0, 15, 12}));
         }},
        {"pie", [] { DrawFilledPie(5, 5, 25, 25, 0.0, kPi / 2); },
         [](const Shot& s) {
             EXPECT_EQ(s.Bounds(kRed), (RECT{15, 5, 24, 15}));
             EXPECT_EQ(s.At(20, 10), Pixel(kGreen));
         }},
        {"polyline", [] { DrawPolyline(kSquare, 5); }, [](const Shot& s) { ExpectOnly(s, kRed, 80); }},
        {"flood fill",
         [] {
             DrawPolyline(kSquare, 5);
             ApplyFillStyle(BS_HATCHED, HS_DIAGCROSS, nullptr);
             SetBrushColor(kWhite);
             FloodFillArea(15, 15, kRed);
         },
         [](const Shot& s) {
             EXPECT_EQ(s.Bounds(kWhite), (RECT{6, 6, 24, 24}));
             EXPECT_EQ(s.Bounds(kGrey), (RECT{6, 6, 24, 24}));
             EXPECT_EQ(s.Count(kWhite) + s.Count(kGrey), 19 * 19);
         }},
        {"winding fill",
         [] {
             SetFillRule(WINDING);
             PaintPolygon(kStar, 5);
         },
         [](const Shot& s) { EXPECT_EQ(s.At(20, 18), Pixel(kGreen)); }},
        {"alternate fill", [] { PaintPolygon(kStar, 5); }, [](const Shot& s) { EXPECT_EQ(s.At(20, 18), 0u); }},
        {"exclusive-or",
         [] {
             SetRasterOp(R2_XORPEN);
             PaintRectangle(0, 0, 19, 19);
             PaintRectangle(10, 10, 29, 29);
         },
         [](const Shot& s) {
             EXPECT_EQ((std::vector<uint32_t>{s.At(5, 5), s.At(15, 15), s.At(25, 25)}),
                       (std::vector<uint32_t>{Pixel(kGreen), 0, Pixel(kGreen)}));
         }},
        {"hatch recoloured",
         [] {
             ApplyFillStyle(BS_HATCHED, HS_VERTICAL, nullptr);
             SetBrushColor(kWhite);
             PaintRectangle(0, 0, 39, 39);
         },
         [](const Shot& s) {
             EXPECT_GE(s.Count(kWhite), 4 * kSide);
             EXPECT_EQ(s.Count(kWhite) + s.Count(kGrey), kSide * kSide);
             for (int i = 0; i < kSide * kSide; ++i) ASSERT_EQ(s.pixels[i], s.At(i % kSide, 0)) << i;
         }},
        {"fill kind 4 makes no brush",
         [] {
             ApplyFillStyle(4, 0, nullptr);
             SetBrushColor(kWhite);
             PaintRectangle(0, 0, 9, 9);
         },
         [](const Shot& s) { ExpectOnly(s, kGreen, 100); }},
        {"two-colour pattern",
         [] {
             SetFillPattern(kChecker);
             PaintRectangle(0, 0, 39, 39);
         },
         [](const Shot& s) {
             for (int i = 0; i < kSide * kSide; ++i) {
                 ASSERT_EQ(s.pixels[i], Pixel((i % kSide + i / kSide) % 2 ? kGrey : kBlue)) << i;
             }
         }},
        {"image pattern",
         [] {
             IMAGE tile(2, 2);
             std::copy(kTile, kTile + 4, tile.pixels);
             ApplyFillStyle(BS_DIBPATTERN, 0, &tile);
             ApplyFillStyle(BS_PATTERN, 0, nullptr);  // no pattern image: ignored
             SetBrushColor(kWhite);                   // image patterns ignore the fill colour
             PaintRectangle(0, 0, 39, 39);
         },
         [](const Shot& s) {
             for (int i = 0; i < kSide * kSide; ++i) ASSERT_EQ(s.pixels[i], kTile[(i / kSide % 2) * 2 + i % 2]) << i;
         }},
        {"dashes survive a shape and a colour",
         [] {
             ApplyLineStyle(PS_USERSTYLE | PS_ENDCAP_FLAT, 1, kDashes, 2);
             PaintRectangle(0, 0, 3, 3);
             SetPenColor(kWhite);
             DrawLine(0, 10, 40, 10);
         },
         [](const Shot& s) {
             EXPECT_EQ(s.Count(kWhite), 30);
             EXPECT_EQ((std::vector<uint32_t>{s.At(5, 10), s.At(6, 10), s.At(8, 10)}),
                       (std::vector<uint32_t>{Pixel(kWhite), 0, Pixel(kWhite)}));
         }},
        {"user style without dashes",
         [] {
             ApplyLineStyle(PS_USERSTYLE, 1, nullptr, 0);
             SetPenColor(kWhite);
             DrawLine(0, 10, 40, 10);
         },
         [](const Shot& s) { ExpectOnly(s, kWhite, 0); }},
        {"wide flat pen",
         [] {
             ApplyLineStyle(PS_SOLID | PS_ENDCAP_FLAT, 5, nullptr, 0);
             DrawLine(10, 20, 30, 20);
         },
         [](const Shot& s) { EXPECT_EQ(s.Bounds(kRed), (RECT{10, 18, 29, 22})); }},
        {"erase clip region",
         [] {
             SetTargetOrigin(10, 10);
             SetTargetScale(2, 2);
             HRGN region = CreateRectRgn(0, 0, 5, 5);
             SetClipRegion(region);
             DeleteObject(region);
             EraseClipRegion();
             SetClipRegion(nullptr);
             WritePixel(1, 1, kWhite);  // transformed again
         },
         [](const Shot& s) {
             EXPECT_EQ(s.Count(kGrey), 25);
             EXPECT_EQ(s.Bounds(kGrey), (RECT{0, 0, 4, 4}));
             EXPECT_EQ(s.Bounds(kWhite), (RECT{12, 12, 12, 12}));
         },
         true},
        {"clear ignores the raster op",
         [] {
             SetRasterOp(R2_XORPEN);
             SetBackgroundColor(0x00332211);
             SetCurrentPosition(7, 9);
             ClearTarget();
             EXPECT_EQ((std::vector<int>{GetCurrentX(), GetCurrentY()}), (std::vector<int>{0, 0}));
         },
         [](const Shot& s) { EXPECT_EQ(std::count(s.pixels.begin(), s.pixels.end(), 0x00112233u), kSide * kSide); }},
        {"erase without clip", [] { EraseClipRegion(); },
         [](const Shot& s) { EXPECT_EQ(s.Count(kGrey), kSide * kSide); }},
    };
    return all;
}
