// Drawing images onto the current target with raster operations.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics_state.h"
#include "image_test_support.h"
#include "window_capture.h"

namespace {

using Tovax::Graphics;

// What `target` holds after `sprite` was copied to (x, y): only the part that
// lies inside the target changes.
std::vector<uint32_t> AfterCopy(const IMAGE& target, const std::vector<uint32_t>& before, const IMAGE& sprite, int x,
                                int y)
{
    std::vector<uint32_t> expected = before;
    for (int sy = 0; sy < sprite.height; ++sy) {
        for (int sx = 0; sx < sprite.width; ++sx) {
            const int tx = x + sx;
            const int ty = y + sy;
            if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) continue;
            expected[ty * target.width + tx] = sprite.pixels[sy * sprite.width + sx];
        }
    }
    return expected;
}

class BlitOnImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillPattern(target, 1);
        SelectTarget(&target);
    }
    void TearDown() override { SelectTarget(nullptr); }

    // 64 x 48 pixels fill exactly three pages, so a write past either end of
    // the storage would fault rather than pass unnoticed.
    IMAGE target{64, 48};
};

TEST_F(BlitOnImage, InvertingTwiceRestoresTheTarget)
{
    IMAGE sprite(20, 30);
    FillPattern(sprite, 77);
    const std::vector<uint32_t> before = PixelsOf(target);
    BlitImage(10, 5, &sprite, SRCINVERT);
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 5 && y < 35;
            const uint32_t expected = before[y * 64 + x] ^ (inside ? sprite.pixels[(y - 5) * 20 + (x - 10)] : 0u);
            ASSERT_EQ(target.pixels[y * 64 + x], expected) << x << "," << y;
        }
    }
    BlitImage(10, 5, &sprite, SRCINVERT);
    EXPECT_EQ(PixelsOf(target), before);
}

TEST_F(BlitOnImage, BlackSourcePixelsLeaveTheTargetUnchanged)
{
    IMAGE sheet;
    LoadResourcePicture(&sheet, "IMAGE", MAKEINTRESOURCEA(104), 0, 0, false);
    ASSERT_EQ(sheet.width, 200);
    IMAGE canvas(200, 50);
    FillPattern(canvas, 12);
    const std::vector<uint32_t> before = PixelsOf(canvas);
    SelectTarget(&canvas);
    BlitImage(0, 0, &sheet, SRCINVERT);
    size_t black = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ(canvas.pixels[i], before[i] ^ sheet.pixels[i]) << "pixel " << i;
        black += sheet.pixels[i] == 0;
    }
    EXPECT_GT(black, before.size() / 2) << "the rockets stand on black";
}

TEST_F(BlitOnImage, ARegionOfTheSourceLandsAtThePosition)
{
    IMAGE source(40, 40);
    FillPattern(source, 50);
    const std::vector<uint32_t> before = PixelsOf(target);
    BlitImageRegion(5, 6, 10, 8, &source, 3, 4, SRCCOPY);
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const bool inside = x >= 5 && x < 15 && y >= 6 && y < 14;
            const uint32_t expected = inside ? source.pixels[(y - 6 + 4) * 40 + (x - 5 + 3)] : before[y * 64 + x];
            ASSERT_EQ(target.pixels[y * 64 + x], expected) << x << "," << y;
        }
    }
}

TEST_F(BlitOnImage, BlitsPartlyOutsideTheTargetWriteOnlyInsideIt)
{
    IMAGE sprite(20, 20);
    FillPattern(sprite, 200);
    for (const auto& at : {POINT{-10, -10}, POINT{54, 38}, POINT{-10, 30}, POINT{50, -5}, POINT{60, 20}}) {
        const std::vector<uint32_t> before = PixelsOf(target);
        BlitImage(at.x, at.y, &sprite, SRCCOPY);
        ASSERT_EQ(PixelsOf(target), AfterCopy(target, before, sprite, at.x, at.y)) << at.x << "," << at.y;
    }
}

TEST_F(BlitOnImage, BlitsWhollyOutsideTheTargetDrawNothing)
{
    IMAGE sprite(20, 20);
    FillWith(sprite, 0x00FFFFFF);
    const std::vector<uint32_t> before = PixelsOf(target);
    for (const auto& at : {POINT{64, 0}, POINT{0, 48}, POINT{-20, -20}, POINT{-20, 10}, POINT{1000, -1000}}) {
        BlitImage(at.x, at.y, &sprite, SRCCOPY);
    }
    EXPECT_EQ(PixelsOf(target), before);
}

TEST_F(BlitOnImage, AnEmptyImageDrawsNothing)
{
    IMAGE empty;
    const std::vector<uint32_t> before = PixelsOf(target);
    BlitImage(0, 0, &empty, SRCCOPY);
    BlitImage(3, 3, &empty, WHITENESS);
    BlitImageRegion(0, 0, 10, 10, &empty, 0, 0, WHITENESS);
    BlitImageRegion(0, 0, 10, 10, &empty, 0, 0, SRCCOPY);
    EXPECT_EQ(PixelsOf(target), before);
}

// With the window open, 320 x 200, black on the window and in the back buffer.
class BlitOnWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = OpenGraphWindow(kWidth, kHeight, 0);
        ASSERT_NE(window, nullptr);
        SettleWindow(window);
        FillPattern(sprite, 31);
    }
    void TearDown() override
    {
        SelectTarget(nullptr);
        EndBatch();
        CloseGraphWindow();
    }
    std::vector<uint32_t> Shown() { return CaptureClient(window, kWidth, kHeight); }
    std::vector<uint32_t> BackBuffer() { return PixelsOf(Graphics().window); }
    std::vector<uint32_t> Black() { return std::vector<uint32_t>(kWidth * kHeight, 0u); }
    // A black back buffer with the sprite copied to (x, y).
    std::vector<uint32_t> SpriteAt(int x, int y) { return AfterCopy(Graphics().window, Black(), sprite, x, y); }

    static constexpr int kWidth = 320;
    static constexpr int kHeight = 200;
    HWND window = nullptr;
    IMAGE sprite{20, 30};
};

TEST_F(BlitOnWindow, WithoutABatchABlitReachesTheWindowAtOnceAndTheBackBuffer)
{
    BlitImage(30, 40, &sprite, SRCINVERT);
    EXPECT_EQ(BackBuffer(), SpriteAt(30, 40));
    EXPECT_EQ(Shown(), SpriteAt(30, 40));
    // Each surface was inverted exactly once, so the second blit clears both.
    BlitImage(30, 40, &sprite, SRCINVERT);
    EXPECT_EQ(BackBuffer(), Black());
    EXPECT_EQ(Shown(), Black());
}

TEST_F(BlitOnWindow, InsideABatchOnlyTheBackBufferChangesUntilTheFlush)
{
    BeginBatch();
    BlitImage(30, 40, &sprite, SRCINVERT);
    EXPECT_EQ(BackBuffer(), SpriteAt(30, 40));
    EXPECT_EQ(Shown(), Black());
    FlushBatch();
    EXPECT_EQ(Shown(), SpriteAt(30, 40));
}

TEST_F(BlitOnWindow, WithAnImageAsTargetTheWindowAndBackBufferAreUntouched)
{
    IMAGE image(50, 50);
    SelectTarget(&image);
    BlitImage(10, 10, &sprite, SRCCOPY);
    EXPECT_EQ(image.pixels[10 * 50 + 10], sprite.pixels[0]);
    EXPECT_EQ(BackBuffer(), Black());
    EXPECT_EQ(Shown(), Black());
}

TEST_F(BlitOnWindow, BlitsPartlyOutsideTheWindowDrawOnlyInsideIt)
{
    BlitImage(310, 185, &sprite, SRCCOPY);
    EXPECT_EQ(BackBuffer(), SpriteAt(310, 185));
    EXPECT_EQ(Shown(), SpriteAt(310, 185));
    BlitImage(-15, -25, &sprite, SRCINVERT);
    std::vector<uint32_t> expected = SpriteAt(310, 185);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) expected[y * kWidth + x] = sprite.pixels[(y + 25) * 20 + (x + 15)];
    }
    EXPECT_EQ(BackBuffer(), expected);
    EXPECT_EQ(Shown(), expected);
}

}  // namespace
