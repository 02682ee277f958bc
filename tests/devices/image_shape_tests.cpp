// Shapes and styles on an image target, read back from its pixel buffer.
#include "operations.h"

namespace {

using operations::kPi;
const POINT kTriangle[] = {{5, 5}, {25, 5}, {5, 25}};

enum Variant { Filled, Outline, Painted, Erased };

template <typename F>
F Pick(Variant variant, F filled, F outline, F painted, F erased)
{
    const F all[] = {filled, outline, painted, erased};
    return all[variant];
}

struct Family {
    const char* name;
    std::function<void(Variant)> draw;
    std::function<void(HDC)> platformCall;  // what the filled variant hands to GDI
};

const Family kFamilies[] = {
    {"rectangle",
     [](Variant v) { Pick(v, DrawFilledRectangle, DrawRectangle, PaintRectangle, EraseRectangle)(20, 15, 5, 5); },
     [](HDC dc) { Rectangle(dc, 20, 15, 5, 5); }},
    {"circle", [](Variant v) { Pick(v, DrawFilledCircle, DrawCircle, PaintCircle, EraseCircle)(20, 20, 8); },
     [](HDC dc) { Ellipse(dc, 12, 12, 28, 28); }},
    {"ellipse", [](Variant v) { Pick(v, DrawFilledEllipse, DrawEllipse, PaintEllipse, EraseEllipse)(5, 5, 30, 20); },
     [](HDC dc) { Ellipse(dc, 5, 5, 30, 20); }},
    {"round rect",
     [](Variant v) { Pick(v, DrawFilledRoundRect, DrawRoundRect, PaintRoundRect, EraseRoundRect)(5, 5, 30, 20, 8, 8); },
     [](HDC dc) { RoundRect(dc, 5, 5, 30, 20, 8, 8); }},
    {"pie", [](Variant v) { Pick(v, DrawFilledPie, DrawPie, PaintPie, ErasePie)(5, 5, 25, 25, 0.0, kPi / 2); },
     [](HDC dc) { Pie(dc, 5, 5, 25, 25, 25, 15, 15, 5); }},
    {"polygon", [](Variant v) { Pick(v, DrawFilledPolygon, DrawPolygon, PaintPolygon, ErasePolygon)(kTriangle, 3); },
     [](HDC dc) { Polygon(dc, kTriangle, 3); }},
};

// Line style, fill style with its pattern's pixels, raster operation and fill colour.
std::vector<uint32_t> Styles()
{
    LINESTYLE line;
    GetLineStyle(&line);
    FILLSTYLE fill;
    GetFillStyle(&fill);
    std::vector<uint32_t> styles = {line.style,           uint32_t(line.thickness), uint32_t(fill.style),
                                    uint32_t(fill.hatch), uint32_t(GetRasterOp()),  GetBrushColor()};
    styles.insert(styles.end(), line.dashes, line.dashes + line.dashCount);
    if (fill.pattern) styles.insert(styles.end(), fill.pattern->pixels, fill.pattern->pixels + 4);
    return styles;
}

}  // namespace

TEST(ImageDevice, EveryOperationDrawsWhatItNames)
{
    for (const Operation& operation : AllOperations()) {
        SCOPED_TRACE(operation.name);
        IMAGE image(kSide, kSide);
        SelectTarget(&image);
        StartColours();
        operation.draw();
        Check(operation, Corner(image.pixels, kSide));
        SelectTarget(nullptr);
    }
}

TEST_F(Canvas, ShapeVariantsDrawTheirPartAndRestoreEveryStyle)
{
    IMAGE green(2, 2);
    std::fill_n(green.pixels, 4, Pixel(kGreen));
    const uint32_t dashes[] = {4, 2};
    SetPenColor(kRed);
    SetBrushColor(kGreen);
    for (const Family& family : kFamilies) {
        SCOPED_TRACE(family.name);
        // A one-colour image pattern paints like the solid brush it is compared with.
        ApplyFillStyle(BS_DIBPATTERN, 0, &green);
        Fill(0);
        family.draw(Filled);
        EXPECT_TRUE(MatchesPlatformDrawing(family.platformCall));
        const RECT outline = Bounds(kRed);
        // Rectangles keep right and bottom edges; painting orders and widens its box to match.
        const bool rectangle = &family == kFamilies;
        if (rectangle) {
            EXPECT_EQ(outline, (RECT{5, 5, 20, 15}));
        }
        std::vector<uint32_t> before = Styles();
        Fill(0);
        family.draw(Outline);
        EXPECT_EQ(Bounds(kRed), outline);
        EXPECT_EQ(Count(kGreen), 0);
        EXPECT_EQ(Styles(), before);

        ApplyLineStyle(PS_USERSTYLE, 3, dashes, 2);
        before = Styles();
        Fill(0);
        family.draw(Painted);
        const int painted = Count(kGreen);
        EXPECT_GT(painted, 0);
        EXPECT_EQ(Count(kRed), 0);
        if (rectangle) {
            EXPECT_EQ(Bounds(kGreen), outline);
        }
        EXPECT_EQ(Styles(), before);

        // Erased: solid background whatever the raster operation, fill colour and fill kind.
        const int kind = int(&family - kFamilies) % 3;
        kind == 0   ? ApplyFillStyle(BS_HATCHED, HS_CROSS, nullptr)
        : kind == 1 ? SetFillPattern(operations::kChecker)
                    : ApplyFillStyle(BS_NULL, 0, nullptr);
        SetBackgroundColor(kBlue);
        SetBackgroundMode(TRANSPARENT);
        SetRasterOp(R2_XORPEN);
        before = Styles();
        Fill(kWhite);
        family.draw(Erased);
        EXPECT_EQ(Count(kBlue), painted);
        EXPECT_EQ(Count(kWhite), kSide * kSide - painted);
        EXPECT_EQ(Styles(), before);
        SetRasterOp(R2_COPYPEN);
        ApplyLineStyle(PS_SOLID, 1, nullptr, 0);
    }
    // The brush object is back too: a hatched fill in the fill colour.
    ApplyFillStyle(BS_HATCHED, HS_CROSS, nullptr);
    DrawEllipse(0, 0, 39, 39);
    Fill(0);
    DrawFilledRectangle(0, 0, 39, 39);
    EXPECT_GT(Count(kGreen), 100);
    EXPECT_GT(Count(0), 800);
}

TEST(ArcEndpoints, RoundToNearestOnTruncatedRadii)
{
    Tovax::DrawOnImg device;
    std::vector<int> p(4);
    for (RECT box : {RECT{0, 0, 100, 50}, RECT{100, 50, 0, 0}, RECT{0, 0, 101, 51}}) {
        device.ComputeArcEndpoints(box.left, box.top, box.right, box.bottom, 0.0, kPi / 2, &p[0], &p[1], &p[2], &p[3]);
        EXPECT_EQ(p, (std::vector<int>{100, 25, 50, 0}));
    }
    device.ComputeArcEndpoints(-100, -100, 0, 0, kPi, kPi, &p[0], &p[1], &p[2], &p[3]);
    EXPECT_EQ(p, (std::vector<int>{-100, -50, -100, -50}));
    // 10 * cos = -7.7 gives -8 where truncation would give -7.
    device.ComputeArcEndpoints(-10, -10, 10, 10, std::acos(-0.77), 0.0, &p[0], &p[1], &p[2], &p[3]);
    EXPECT_EQ(p, (std::vector<int>{-8, -6, 10, 0}));
}

TEST_F(Canvas, StylesKeepTheirRecordsAndLinesMoveThePosition)
{
    uint32_t dashes[] = {6, 2};
    ApplyLineStyle(PS_USERSTYLE, 2, dashes, 2);
    dashes[0] = 1;
    LINESTYLE line;
    GetLineStyle(&line);
    ASSERT_EQ(line.dashCount, 2u);
    EXPECT_EQ((std::vector<uint32_t>{line.style, uint32_t(line.thickness), line.dashes[0], line.dashes[1]}),
              (std::vector<uint32_t>{PS_USERSTYLE, 2, 6, 2}));
    ApplyFillStyle(4, 0, nullptr);
    FILLSTYLE fill;
    GetFillStyle(&fill);
    EXPECT_EQ(fill.style, 4);

    SetPenColor(kRed);
    ApplyLineStyle(PS_SOLID, 1, nullptr, 0);
    SetCurrentPosition(10, 10);
    DrawLine(0, 0, 20, 20);  // leaves the current position alone
    DrawLineTo(30, 10);
    DrawLineBy(0, 20);
    MoveCurrentBy(5, -3);
    EXPECT_EQ((std::vector<int>{GetCurrentX(), GetCurrentY(), int(At(20, 10)), int(At(30, 20))}),
              (std::vector<int>{35, 27, int(Pixel(kRed)), int(Pixel(kRed))}));
}
