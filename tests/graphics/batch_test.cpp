// Batch drawing and presenting the back buffer.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics_state.h"
#include "window_capture.h"

namespace {

using Tovax::Graphics;

class Batch : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = OpenGraphWindow(kWidth, kHeight, 0);
        SettleWindow(window);
        pixels = GetPixelBuffer(nullptr);
    }
    void TearDown() override
    {
        EndBatch();
        CloseGraphWindow();
    }
    std::vector<uint32_t> Shown() { return CaptureClient(window, kWidth, kHeight); }

    static constexpr int kWidth = 320;
    static constexpr int kHeight = 200;
    HWND window = nullptr;
    uint32_t* pixels = nullptr;
};

TEST_F(Batch, FlushBatchPresentsTheBackBufferPixelForPixel)
{
    BeginBatch();
    PaintTestPattern(pixels, kWidth, kHeight);
    SetTargetOrigin(100, 50);
    SetTargetScale(2.0f, 3.0f);
    FlushBatch();
    const std::vector<uint32_t> shown = Shown();
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), pixels));
    EXPECT_TRUE(Graphics().window.batching) << "a flush does not end the batch";
    XFORM restored;
    GetWorldTransform(Graphics().window.dc, &restored);
    EXPECT_EQ(restored.eDx, 100.0f);
    EXPECT_EQ(restored.eM22, 3.0f);
}

TEST_F(Batch, FlushBatchRectCopiesItsRightAndBottomEdges)
{
    BeginBatch();
    std::fill(pixels, pixels + kWidth * kHeight, 0x00FF8000u);
    FlushBatchRect(10, 10, 19, 19);
    FlushBatchRect(5, 5, 5, 5);
    const std::vector<uint32_t> shown = Shown();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = (x >= 10 && x <= 19 && y >= 10 && y <= 19) || (x == 5 && y == 5);
            ASSERT_EQ(shown[y * kWidth + x], inside ? 0x00FF8000u : 0u) << x << "," << y;
        }
    }
}

TEST_F(Batch, FlushBatchRectUsesLogicalCoordinates)
{
    BeginBatch();
    std::fill(pixels, pixels + kWidth * kHeight, 0x00FFFFFFu);
    SetTargetOrigin(100, 50);
    FlushBatchRect(0, 0, 9, 9);
    SetTargetOrigin(0, 0);
    const std::vector<uint32_t> shown = Shown();
    EXPECT_EQ(shown[50 * kWidth + 100], 0x00FFFFFFu);
    EXPECT_EQ(shown[59 * kWidth + 109], 0x00FFFFFFu);
    EXPECT_EQ(shown[60 * kWidth + 110], 0u);
    EXPECT_EQ(shown[0], 0u);
}

TEST_F(Batch, BatchesDoNotNestAndEndBatchPresents)
{
    BeginBatch();
    BeginBatch();
    std::fill(pixels, pixels + kWidth * kHeight, 0x00112233u);
    EXPECT_EQ(Shown()[0], 0u) << "pixel writes wait for a present";
    EndBatch();
    EXPECT_FALSE(Graphics().window.batching);
    EXPECT_EQ(Shown()[kWidth * kHeight - 1], 0x00112233u);
}

TEST_F(Batch, EndBatchRectPresentsItsRectangleAndEndsTheBatch)
{
    BeginBatch();
    std::fill(pixels, pixels + kWidth * kHeight, 0x00FFFFFFu);
    EndBatchRect(0, 0, 9, 9);
    EXPECT_FALSE(Graphics().window.batching);
    const std::vector<uint32_t> shown = Shown();
    EXPECT_EQ(shown[9 * kWidth + 9], 0x00FFFFFFu);
    EXPECT_EQ(shown[10 * kWidth + 10], 0u);
}

TEST_F(Batch, ClearTargetPresentsOutsideABatchOnly)
{
    std::fill(pixels, pixels + kWidth * kHeight, 0x00445566u);
    ClearTarget();
    EXPECT_EQ(Shown()[77], 0u);
    BeginBatch();
    SetBackgroundColor(0x0000FF);
    ClearTarget();
    EXPECT_EQ(pixels[77], 0x00FF0000u);
    EXPECT_EQ(Shown()[77], 0u);
    FlushBatch();
    EXPECT_EQ(Shown()[77], 0x00FF0000u);
}

TEST_F(Batch, NothingIsPresentedWhileAnImageIsTheTarget)
{
    BeginBatch();
    std::fill(pixels, pixels + kWidth * kHeight, 0x00FFFFFFu);
    IMAGE image(kWidth, kHeight);
    SelectTarget(&image);
    FlushBatch();
    EXPECT_EQ(Shown()[0], 0u);
    SelectTarget(nullptr);
}

}  // namespace
