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

constexpr RECT kWhole = {0, 0, kSide - 1, kSide - 1};
constexpr RECT kNowhere = {kSide, kSide, -1, -1};
constexpr RECT kAnyBox = {-1, -1, -1, -1};

// After `draw`, `color` covers `bounds` (unless kAnyBox) with `count` pixels
// (unless -1); `more` checks the rest of the picture.
struct Operation {
    const char* name;
    std::function<void()> draw;
    COLORREF color;
    RECT bounds;
    int count;
    std::function<void(const Shot&)> more = nullptr;
    // Erases a clip region, which reaches the window even in a batch.
    bool shownInBatch = false;
};

inline void Check(const Operation& operation, const Shot& shot)
{
    if (!(operation.bounds == kAnyBox)) {
        EXPECT_EQ(shot.Bounds(operation.color), operation.bounds);
    }
    if (operation.count >= 0) {
        EXPECT_EQ(shot.Count(operation.color), operation.count);
    }
    if (operation.more) operation.more(shot);
}

namespace operations {

constexpr double kPi = 3.14159265358979323846;
const POINT kSquare[] = {{5, 5}, {25, 5}, {25, 25}, {5, 25}, {5, 5}};
const POINT kStar[] = {{20, 2}, {31, 35}, {3, 14}, {37, 14}, {9, 35}};
const uint8_t kChecker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
const uint32_t kDashes[] = {6, 2};
const uint32_t kTile[] = {0x102030, 0x405060, 0x708090, 0xA0B0C0};

// Every pixel of the shot is `expected`(x, y).
inline void ExpectEach(const Shot& shot, const std::function<uint32_t(int, int)>& expected)
{
    for (int i = 0; i < kSide * kSide; ++i) ASSERT_EQ(shot.pixels[i], expected(i % kSide, i / kSide)) << i;
}

}  // namespace operations

inline const std::vector<Operation>& AllOperations()
{
    using namespace operations;
    const auto cellShown = [](const Shot& s) { EXPECT_GT(s.Count(kGrey), 0); };
    static const std::vector<Operation> all = {
        {"pixel", [] { WritePixel(3, 4, kWhite); }, kWhite, {3, 4, 3, 4}, 1},
        {"line", [] { DrawLine(2, 30, 37, 30); }, kRed, {2, 30, 36, 30}, 35},
        {"opaque text", [] { PrintAt(2, 2, "Hi"); }, kBlue, kAnyBox, -1, cellShown},
        {"transparent text",
         [] {
             SetBackgroundMode(TRANSPARENT);
             PrintAt(2, 2, "Hi");
         },
         kGrey, kNowhere, 0, [](const Shot& s) { EXPECT_GT(s.Count(kBlue), 0); }},
        {"text in a rectangle",
         [] {
             RECT box = {0, 0, kSide, kSide};
             EXPECT_GT(PrintInRect("Hi", &box, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 0);
         },
         kGrey, kAnyBox, -1,
         [](const Shot& s) {
             const RECT cell = s.Bounds(kGrey);
             EXPECT_EQ((std::vector<LONG>{cell.left > 0, cell.top > 0, cell.right, cell.bottom}),
                       (std::vector<LONG>{1, 1, 39, 39}));
         }},
        {"rectangle", [] { DrawFilledRectangle(20, 15, 5, 5); }, kGreen, {6, 6, 19, 14}, 14 * 9},
        {"circle", [] { DrawFilledCircle(20, 20, 8); }, kRed, {12, 12, 27, 27}, -1},
        {"ellipse", [] { DrawFilledEllipse(5, 5, 30, 20); }, kRed, {5, 5, 29, 19}, -1},
        {"round rect",
         [] { DrawFilledRoundRect(5, 5, 30, 20, 8, 8); },
         kRed,
         {5, 5, 29, 19},
         -1,
         [](const Shot& s) { EXPECT_EQ(s.At(5, 5), 0u); }},
        {"arc", [] { DrawArc(0, 0, 30, 30, kPi / 2, kPi); }, kRed, {0, 0, 15, 12}, -1},
        {"pie", [] { DrawFilledPie(5, 5, 25, 25, 0.0, kPi / 2); }, kRed, {15, 5, 24, 15}, -1},
        {"polyline", [] { DrawPolyline(kSquare, 5); }, kRed, {5, 5, 25, 25}, 80},
        {"flood fill",
         [] {
             DrawPolyline(kSquare, 5);
             ApplyFillStyle(BS_HATCHED, HS_DIAGCROSS, nullptr);
             SetBrushColor(kWhite);
             FloodFillArea(15, 15, kRed);
         },
         kWhite,
         {6, 6, 24, 24},
         -1,
         [](const Shot& s) { EXPECT_EQ(s.Count(kWhite) + s.Count(kGrey), 19 * 19); }},
        {"winding fill",
         [] {
             SetFillRule(WINDING);
             PaintPolygon(kStar, 5);
         },
         kGreen, kAnyBox, -1, [](const Shot& s) { EXPECT_EQ(s.At(20, 18), Pixel(kGreen)); }},
        {"alternate fill", [] { PaintPolygon(kStar, 5); }, kGreen, kAnyBox, -1,
         [](const Shot& s) { EXPECT_EQ(s.At(20, 18), 0u); }},
        {"exclusive-or",
         [] {
             SetRasterOp(R2_XORPEN);
             PaintRectangle(0, 0, 19, 19);
             PaintRectangle(10, 10, 29, 29);
         },
         kGreen,
         {0, 0, 29, 29},
         2 * 400 - 2 * 100},
        {"hatch recoloured",
         [] {
             ApplyFillStyle(BS_HATCHED, HS_VERTICAL, nullptr);
             SetBrushColor(kWhite);
             PaintRectangle(0, 0, 39, 39);
         },
         kGrey, kWhole, -1,
         [](const Shot& s) {
             EXPECT_GE(s.Count(kWhite), 4 * kSide);
             ExpectEach(s, [&](int x, int) { return s.At(x, 0) == Pixel(kWhite) ? Pixel(kWhite) : Pixel(kGrey); });
         }},
        {"fill kind 4 makes no brush",
         [] {
             ApplyFillStyle(4, 0, nullptr);
             SetBrushColor(kWhite);
             PaintRectangle(0, 0, 9, 9);
         },
         kGreen,
         {0, 0, 9, 9},
         100},
        {"two-colour pattern",
         [] {
             SetFillPattern(kChecker);
             PaintRectangle(0, 0, 39, 39);
         },
         kBlue, kWhole, kSide * kSide / 2,
         [](const Shot& s) { ExpectEach(s, [](int x, int y) { return Pixel((x + y) % 2 ? kGrey : kBlue); }); }},
        {"image pattern",
         [] {
             IMAGE tile(2, 2);
             std::copy(kTile, kTile + 4, tile.pixels);
             ApplyFillStyle(BS_DIBPATTERN, 0, &tile);
             ApplyFillStyle(BS_PATTERN, 0, nullptr);  // no pattern image: ignored
             SetBrushColor(kWhite);                   // image patterns ignore the fill colour
             PaintRectangle(0, 0, 39, 39);
         },
         kWhite, kNowhere, 0,
         [](const Shot& s) { ExpectEach(s, [](int x, int y) { return kTile[y % 2 * 2 + x % 2]; }); }},
        {"dashes survive a shape and a colour",
         [] {
             ApplyLineStyle(PS_USERSTYLE | PS_ENDCAP_FLAT, 1, kDashes, 2);
             PaintRectangle(0, 0, 3, 3);
             SetPenColor(kWhite);
             DrawLine(0, 10, 40, 10);
         },
         kWhite,
         {0, 10, 37, 10},
         30},
        {"user style without dashes",
         [] {
             ApplyLineStyle(PS_USERSTYLE, 1, nullptr, 0);
             SetPenColor(kWhite);
             DrawLine(0, 10, 40, 10);
         },
         0, kWhole, kSide * kSide},
        {"wide flat pen",
         [] {
             ApplyLineStyle(PS_SOLID | PS_ENDCAP_FLAT, 5, nullptr, 0);
             DrawLine(10, 20, 30, 20);
         },
         kRed,
         {10, 18, 29, 22},
         100},
        {"erase clip region",
         [] {
             SetTargetOrigin(10, 10);
             SetTargetScale(2, 2);
             HRGN region = CreateRectRgn(0, 0, 5, 5);
             SetClipRegion(region);
             DeleteObject(region);
             EraseClipRegion();
         },
         kGrey,
         {0, 0, 4, 4},
         25,
         nullptr,
         true},
        {"clear ignores the raster op",
         [] {
             SetRasterOp(R2_XORPEN);
             SetBackgroundColor(0x00332211);
             SetCurrentPosition(7, 9);
             ClearTarget();
             EXPECT_EQ((std::vector<int>{GetCurrentX(), GetCurrentY()}), (std::vector<int>{0, 0}));
         },
         0x00332211, kWhole, kSide * kSide},
        {"erase without clip", [] { EraseClipRegion(); }, kGrey, kWhole, kSide * kSide},
    };
    return all;
}
