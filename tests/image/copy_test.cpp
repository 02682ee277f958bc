// Copying a rectangle of the current target into an image.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics_state.h"
#include "image/pixel_bitmap.h"
#include "image_test_support.h"
#include "window_capture.h"

namespace {

using Tovax::Graphics;

// The width x height rectangle of `source` at (left, top); black where it
// lies outside the source.
std::vector<uint32_t> Expected(const IMAGE& source, int left, int top, int width, int height)
{
    std::vector<uint32_t> expected;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const bool inside = x >= 0 && y >= 0 && x < source.width && y < source.height;
            expected.push_back(inside ? source.pixels[y * source.width + x] : 0u);
        }
    }
    return expected;
}

class CopyFromImage : public ::testing::Test {
protected:
    void TearDown() override { SelectTarget(nullptr); }
};

TEST_F(CopyFromImage, TheThirteenCellsOfTheStripHoldItsPixels)
{
    IMAGE strip;
    LoadResourcePicture(&strip, "IMAGE", MAKEINTRESOURCEA(103), 0, 0, false);
    ASSERT_EQ(strip.width, 3120);
    SelectTarget(&strip);
    IMAGE cells[13];
    for (int i = 0; i < 13; ++i) CopyToImage(&cells[i], 240 * i, 0, 240, 240);
    for (int i = 0; i < 13; ++i) {
        ASSERT_EQ(cells[i].width, 240);
        ASSERT_EQ(cells[i].height, 240);
        EXPECT_EQ(PixelsOf(cells[i]), Expected(strip, 240 * i, 0, 240, 240)) << "cell " << i;
    }
}

TEST_F(CopyFromImage, TheDestinationGetsNewStorageAndKeepsItsDrawingState)
{
    IMAGE source(64, 48);
    FillPattern(source, 1);
    SelectTarget(&source);
    IMAGE destination(8, 8);
    destination.bkColor = 0x0000FF;
    destination.lineColor = 0x00FF00;
    destination.curX = 3;
    const uint32_t* oldPixels = destination.pixels;
    const HBITMAP oldBitmap = destination.bitmap;

    CopyToImage(&destination, 10, 12, 30, 20);
    EXPECT_EQ(destination.width, 30);
    EXPECT_EQ(destination.height, 20);
    EXPECT_NE(destination.pixels, oldPixels);
    EXPECT_NE(destination.bitmap, oldBitmap);
    EXPECT_EQ(GetObjectType(oldBitmap), 0u) << "the replaced bitmap is deleted";
    EXPECT_EQ(GetCurrentObject(destination.dc, OBJ_BITMAP), destination.bitmap);
    EXPECT_EQ(GetPixelBuffer(&destination), destination.pixels);
    EXPECT_EQ(PixelsOf(destination), Expected(source, 10, 12, 30, 20));
    EXPECT_EQ(destination.bkColor, 0x0000FFu);
    EXPECT_EQ(destination.lineColor, 0x00FF00u);
    EXPECT_EQ(destination.curX, 3);
}

TEST_F(CopyFromImage, ASizeOfZeroOrLessLeavesTheDestinationUnchanged)
{
    IMAGE source(64, 48);
    FillPattern(source, 2);
    SelectTarget(&source);
    IMAGE destination(30, 20);
    FillPattern(destination, 8);
    const std::vector<uint32_t> before = PixelsOf(destination);
    const HBITMAP bitmap = destination.bitmap;
    for (const auto& size : {SIZE{0, 10}, SIZE{10, 0}, SIZE{-5, 10}, SIZE{10, -1}, SIZE{0, 0}}) {
        CopyToImage(&destination, 0, 0, size.cx, size.cy);
        EXPECT_EQ(destination.width, 30);
        EXPECT_EQ(destination.height, 20);
        EXPECT_EQ(destination.bitmap, bitmap);
    }
    EXPECT_EQ(PixelsOf(destination), before);

    IMAGE empty;
    CopyToImage(&empty, 0, 0, -3, 4);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
    EXPECT_EQ(empty.pixels, nullptr);
}

TEST_F(CopyFromImage, TheCurrentTargetCanBeCutDownToARectangleOfItself)
{
    IMAGE target(64, 48);
    FillPattern(target, 6);
    IMAGE original(64, 48);
    FillPattern(original, 6);
    SelectTarget(&target);
    CopyToImage(&target, 8, 4, 20, 10);
    ASSERT_EQ(target.width, 20);
    ASSERT_EQ(target.height, 10);
    EXPECT_EQ(PixelsOf(target), Expected(original, 8, 4, 20, 10));
    EXPECT_EQ(GetTargetWidth(), 20);
    EXPECT_EQ(Graphics().targetDC, target.dc);
}

TEST_F(CopyFromImage, PartsOutsideTheTargetComeOutBlack)
{
    IMAGE source(40, 30);
    FillWith(source, 0x00808080);
    SelectTarget(&source);

    IMAGE straddling;
    CopyToImage(&straddling, -5, 20, 20, 20);
    EXPECT_EQ(PixelsOf(straddling), Expected(source, -5, 20, 20, 20));

    IMAGE beyond(10, 10);
    FillWith(beyond, 0x00FFFFFF);
    CopyToImage(&beyond, 100, 100, 10, 10);
    const std::vector<uint32_t> pixels = PixelsOf(beyond);
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p == 0; }));
}

TEST_F(CopyFromImage, StorageThatCannotBeMadeLeavesTheDestinationUnchanged)
{
    // A rectangle whose storage no 32-bit DIB section can hold.
    constexpr int kHuge = 0x8000;
    uint32_t* probe = nullptr;
    HBITMAP refused = Tovax::CreatePixelBitmap(kHuge, kHuge, &probe);
    if (refused) {
        DeleteObject(refused);
        GTEST_SKIP() << "this system makes a " << kHuge << " x " << kHuge << " bitmap";
    }
    IMAGE source(16, 16);
    SelectTarget(&source);
    IMAGE destination(30, 20);
    FillPattern(destination, 4);
    const std::vector<uint32_t> before = PixelsOf(destination);
    const HBITMAP bitmap = destination.bitmap;
    CopyToImage(&destination, 0, 0, kHuge, kHuge);
    EXPECT_EQ(destination.width, 30);
    EXPECT_EQ(destination.height, 20);
    EXPECT_EQ(destination.bitmap, bitmap);
    EXPECT_EQ(PixelsOf(destination), before);
}

TEST(CopyFromWindow, TheBackBufferIsCopiedAndTheWindowLeftAlone)
{
    constexpr int kWidth = 320;
    constexpr int kHeight = 200;
    HWND window = OpenGraphWindow(kWidth, kHeight, 0);
    ASSERT_NE(window, nullptr);
    SettleWindow(window);
    BeginBatch();
    FillPattern(Graphics().window, 3);
    IMAGE destination;
    CopyToImage(&destination, 300, 20, 50, 40);
    EXPECT_EQ(PixelsOf(destination), Expected(Graphics().window, 300, 20, 50, 40));
    const std::vector<uint32_t> shown = CaptureClient(window, kWidth, kHeight);
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](uint32_t p) { return p == 0; }));
    EndBatch();
    CloseGraphWindow();
}

}  // namespace
