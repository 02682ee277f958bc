// Faults that the randomised test found in the library, each kept as the
// short call sequence that shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

#include "graphics_state.h"
#include "health_checks.h"

namespace {

int LiveBitmaps() { return GdiCensus::Take().byType[OBJ_BITMAP]; }

bool AnyPixelLit(const IMAGE& image)
{
    return std::any_of(image.pixels, image.pixels + image.width * image.height, [](uint32_t pixel) { return pixel; });
}

// With DT_MODIFYSTRING the platform wrote the shortened text back into the
// caller's constant text, up to four bytes past its end; a text in read-only
// memory ended the process.
TEST(FoundByFuzzing, PrintInRectNeverWritesIntoTheCallersText)
{
    static const char kReadOnly[] = "a line far too long for forty pixels";
    char text[64];
    std::memset(text, 0x5A, sizeof(text));
    std::strcpy(text, "another line too long for forty");
    char before[sizeof(text)];
    std::memcpy(before, text, sizeof(text));
    const uint32_t formats[] = {DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE,
                                DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE,
                                DT_WORD_ELLIPSIS | DT_MODIFYSTRING | DT_WORDBREAK};

    ASSERT_NE(OpenGraphWindow(120, 40, 0), nullptr);
    IMAGE image(40, 20);
    for (IMAGE* target : {&image, static_cast<IMAGE*>(nullptr)}) {
        SelectTarget(target);
        ClearTarget();
        for (uint32_t format : formats) {
            RECT box = {0, 0, 40, 20};
            PrintInRect(kReadOnly, &box, format);
            box = {0, 0, 40, 20};
            PrintInRect(text, &box, format);
        }
        EXPECT_EQ(std::memcmp(text, before, sizeof(text)), 0);
        EXPECT_TRUE(AnyPixelLit(target ? image : Tovax::Graphics().window));
    }
    SelectTarget(nullptr);
    CloseGraphWindow();
}

// Every load left the decoded picture's bitmap behind: 3 MB and one GDI
// object per load of the burst strip.
TEST(FoundByFuzzing, LoadingPicturesLeavesNoBitmapBehind)
{
    IMAGE image;
    LoadResourcePicture(&image, "IMAGE", MAKEINTRESOURCEA(104), 0, 0, false);
    const int before = LiveBitmaps();
    for (int i = 0; i < 5; ++i) {
        LoadResourcePicture(&image, "IMAGE", MAKEINTRESOURCEA(103), 0, 0, true);
        LoadResourcePicture(&image, "IMAGE", "#104", 0, 0, true);
    }
    EXPECT_EQ(LiveBitmaps(), before);
    EXPECT_EQ(image.width, 200);
    EXPECT_EQ(image.height, 50);
    EXPECT_TRUE(AnyPixelLit(image));
}

// Handing the target's own dashes back (to change only the width) read them
// after they had been released: the pen got whatever the heap had left there.
TEST(FoundByFuzzing, ApplyLineStyleTakesTheTargetsOwnDashes)
{
    const uint32_t dashes[] = {3, 5, 7, 9};
    const DWORD style = PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT;
    IMAGE image(64, 8);
    SelectTarget(&image);
    ApplyLineStyle(PS_USERSTYLE | PS_ENDCAP_FLAT, 3, dashes, 4);
    ApplyLineStyle(PS_USERSTYLE | PS_ENDCAP_FLAT, 1, image.penStyle.dashes, image.penStyle.dashCount);
    ASSERT_EQ(image.penStyle.dashCount, 4u);
    EXPECT_TRUE(std::equal(dashes, dashes + 4, image.penStyle.dashes));
    DrawLine(0, 4, 64, 4);
    SelectTarget(nullptr);

    IMAGE reference(64, 8);
    const LOGBRUSH white = {BS_SOLID, 0xFFFFFF, 0};
    DeleteObject(SelectObject(reference.dc, ExtCreatePen(style, 1, &white, 4, reinterpret_cast<const DWORD*>(dashes))));
    MoveToEx(reference.dc, 0, 4, nullptr);
    LineTo(reference.dc, 64, 4);
    EXPECT_TRUE(std::equal(image.pixels, image.pixels + 64 * 8, reference.pixels));
    EXPECT_TRUE(AnyPixelLit(image));
}

// An angle that is not a finite number turned into an integer conversion of
// NaN, whose result the language leaves undefined (in practice INT_MIN, which
// went on to the platform as a point of the arc).
TEST(FoundByFuzzing, ArcEndpointsOfAnAngleThatIsNoNumberLieOnTheBox)
{
    IMAGE image(8, 8);
    SelectTarget(&image);
    const double angles[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double angle : angles) {
        int xs = 0, ys = 0, xe = 0, ye = 0;
        ComputeArcEndpoints(0, 0, 100, 50, angle, angle, &xs, &ys, &xe, &ye);
        EXPECT_EQ(xs, 100);
        EXPECT_EQ(ys, 25);
        EXPECT_EQ(xe, 100);
        EXPECT_EQ(ye, 25);
    }
    DrawArc(0, 0, 8, 8, std::numeric_limits<double>::quiet_NaN(), 1.0);
    DrawFilledPie(0, 0, 8, 8, 1.0, std::numeric_limits<double>::infinity());
    SelectTarget(nullptr);
}

// The painted box is widened by one to the right and at the bottom; at
// INT_MAX that wrapped round to INT_MIN and the left side was painted instead.
TEST(FoundByFuzzing, PaintRectangleToTheEndOfTheRangePaintsTheRightSide)
{
    IMAGE image(64, 8);
    SelectTarget(&image);
    PaintRectangle(32, 0, INT_MAX, 3);
    PaintRectangle(0, 4, 15, INT_MAX);
    SelectTarget(nullptr);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool painted = (y < 4 && x >= 32) || (y >= 4 && x < 16);
            EXPECT_EQ(image.pixels[y * 64 + x], painted ? 0xFFFFFFu : 0u) << x << ", " << y;
        }
    }
}

}  // namespace
