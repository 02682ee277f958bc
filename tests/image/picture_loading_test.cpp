// Loading the program's pictures into images and into the window's back buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>

#include "burst_layout.h"
#include "graphics_state.h"
#include "image_test_support.h"
#include "window_capture.h"

namespace {

using Tovax::Graphics;

const LPCSTR kStrip = MAKEINTRESOURCEA(103);
const LPCSTR kSheet = MAKEINTRESOURCEA(104);
constexpr int kStripWidth = 3120;
constexpr int kStripHeight = 240;
constexpr int kCell = 240;

// The pixel block of `image` at (left, top), width x height, row by row.
std::vector<uint32_t> Block(const IMAGE& image, int left, int top, int width, int height)
{
    std::vector<uint32_t> block;
    for (int y = top; y < top + height; ++y) {
        const uint32_t* row = image.pixels + static_cast<size_t>(y) * image.width;
        block.insert(block.end(), row + left, row + left + width);
    }
    return block;
}

// The brightest pixel, by its dimmest component, within `radius` of (cx, cy).
int BrightestNear(const IMAGE& image, int cx, int cy, int radius)
{
    int brightest = 0;
    for (int y = std::max(0, cy - radius); y <= std::min(image.height - 1, cy + radius); ++y) {
        for (int x = std::max(0, cx - radius); x <= std::min(image.width - 1, cx + radius); ++x) {
            brightest = std::max(brightest, DimmestComponent(image.pixels[y * image.width + x]));
        }
    }
    return brightest;
}

TEST(PictureLoading, TheSheetLoadsPixelForPixelIntoAnEmptyImage)
{
    const ReferencePicture expected = RocketSheet();
    ASSERT_EQ(expected.width, 200);
    ASSERT_EQ(expected.height, 50);
    IMAGE sheet;
    LoadResourcePicture(&sheet, "IMAGE", kSheet, 0, 0, false);
    ASSERT_EQ(sheet.width, 200);
    ASSERT_EQ(sheet.height, 50);
    ASSERT_NE(sheet.bitmap, nullptr);
    EXPECT_EQ(PixelsOf(sheet), expected.pixels) << "upright, every pixel as the file holds it";
}

TEST(PictureLoading, TheStripLoadsAtItsNaturalSizeWithABurstInEveryCell)
{
    IMAGE strip;
    LoadResourcePicture(&strip, "IMAGE", kStrip, 0, 0, false);
    ASSERT_EQ(strip.width, kStripWidth);
    ASSERT_EQ(strip.height, kStripHeight);
    for (int cell = 0; cell < media::kBurstCount; ++cell) {
        const int left = cell * kCell;
        EXPECT_GT(BrightestNear(strip, left + media::kSourceCenterX[cell], media::kSourceCenterY[cell], 4), 100)
            << "burst " << cell << " has a bright core at its centre";
        const int last = kCell - 1;
        for (const auto& corner : {POINT{0, 0}, POINT{last, 0}, POINT{0, last}, POINT{last, last}}) {
            EXPECT_LE(DimmestComponent(strip.pixels[corner.y * kStripWidth + left + corner.x]),
                      media::kVisibleThreshold)
                << "cell " << cell << " corner " << corner.x << "," << corner.y << " is sky";
        }
    }
    const size_t count = static_cast<size_t>(strip.width) * static_cast<size_t>(strip.height);
    EXPECT_TRUE(std::all_of(strip.pixels, strip.pixels + count, [](uint32_t p) { return (p >> 24) == 0; }))
        << "loaded pixels keep the top byte zero";
}

TEST(PictureLoading, ARequestedSizeScalesTheWholePicture)
{
    IMAGE natural;
    LoadResourcePicture(&natural, "IMAGE", kSheet, 0, 0, false);
    IMAGE doubled;
    LoadResourcePicture(&doubled, "IMAGE", kSheet, 400, 100, false);
    ASSERT_EQ(doubled.width, 400);
    ASSERT_EQ(doubled.height, 100);
    // Whatever the filter, each component of a doubled pixel lies within the
    // range of the source pixels around the one it was taken from.
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 400; ++x) {
            for (int shift : {0, 8, 16}) {
                int lowest = 255;
                int highest = 0;
                for (int sy = std::max(0, y / 2 - 1); sy <= std::min(49, y / 2 + 1); ++sy) {
                    for (int sx = std::max(0, x / 2 - 1); sx <= std::min(199, x / 2 + 1); ++sx) {
                        const int component = (natural.pixels[sy * 200 + sx] >> shift) & 0xFF;
                        lowest = std::min(lowest, component);
                        highest = std::max(highest, component);
                    }
                }
                const int component = (doubled.pixels[y * 400 + x] >> shift) & 0xFF;
                ASSERT_TRUE(component >= lowest && component <= highest) << x << "," << y;
            }
        }
    }

    IMAGE small;
    LoadResourcePicture(&small, "IMAGE", kStrip, 120, 12, false);
    ASSERT_EQ(small.width, 120);
    ASSERT_EQ(small.height, 12);
    // The whole strip is there: every cell left something brighter than the sky.
    for (int cell = 0; cell < media::kBurstCount; ++cell) {
        int brightest = 0;
        for (int x = cell * 120 / 13; x < (cell + 1) * 120 / 13; ++x) {
            for (int y = 0; y < 12; ++y) brightest = std::max(brightest, DimmestComponent(small.pixels[y * 120 + x]));
        }
        EXPECT_GT(brightest, media::kVisibleThreshold) << "cell " << cell;
    }
}

TEST(PictureLoading, OneRequestedSideAloneIsIgnored)
{
    IMAGE wide;
    LoadResourcePicture(&wide, "IMAGE", kSheet, 100, 0, false);
    EXPECT_EQ(wide.width, 200);
    EXPECT_EQ(wide.height, 50);
    IMAGE tall;
    LoadResourcePicture(&tall, "IMAGE", kSheet, 0, 30, false);
    EXPECT_EQ(tall.width, 200);
    EXPECT_EQ(tall.height, 50);
    IMAGE negative;
    LoadResourcePicture(&negative, "IMAGE", kSheet, -40, 30, false);
    EXPECT_EQ(negative.width, 200);
    EXPECT_EQ(negative.height, 50);
}

TEST(PictureLoading, AnImageWithStorageKeepsItsSizeUnlessResizeIsSet)
{
    IMAGE strip;
    LoadResourcePicture(&strip, "IMAGE", kStrip, 0, 0, false);

    IMAGE frame(kCell, kCell);
    FillPattern(frame, 3);
    LoadResourcePicture(&frame, "IMAGE", kStrip, 0, 0, false);
    ASSERT_EQ(frame.width, kCell);
    ASSERT_EQ(frame.height, kCell);
    EXPECT_EQ(PixelsOf(frame), Block(strip, 0, 0, kCell, kCell)) << "the leftmost 240 x 240 pixels";

    LoadResourcePicture(&frame, "IMAGE", kStrip, 0, 0, true);
    ASSERT_EQ(frame.width, kStripWidth);
    ASSERT_EQ(frame.height, kStripHeight);
    EXPECT_EQ(PixelsOf(frame), PixelsOf(strip));
}

TEST(PictureLoading, PixelsBeyondThePictureKeepTheirValues)
{
    const ReferencePicture sheet = RocketSheet();
    IMAGE canvas(260, 70);
    FillPattern(canvas, 9);
    IMAGE before(260, 70);
    FillPattern(before, 9);
    LoadResourcePicture(&canvas, "IMAGE", kSheet, 0, 0, false);
    ASSERT_EQ(canvas.width, 260);
    ASSERT_EQ(canvas.height, 70);
    EXPECT_EQ(Block(canvas, 0, 0, 200, 50), sheet.pixels);
    EXPECT_EQ(Block(canvas, 200, 0, 60, 70), Block(before, 200, 0, 60, 70));
    EXPECT_EQ(Block(canvas, 0, 50, 200, 20), Block(before, 0, 50, 200, 20));
}

TEST(PictureLoading, WhatCannotBeLoadedLeavesTheImageExactlyAsItWas)
{
    IMAGE image(50, 40);
    FillPattern(image, 5);
    const std::vector<uint32_t> before = PixelsOf(image);
    const HBITMAP bitmap = image.bitmap;
    const uint32_t* pixels = image.pixels;

    LoadResourcePicture(&image, "IMAGE", MAKEINTRESOURCEA(999), 0, 0, true);
    LoadResourcePicture(&image, "NOSUCHTYPE", kSheet, 0, 0, true);
    LoadResourcePicture(&image, "IMAGE", MAKEINTRESOURCEA(900), 0, 0, true);  // bytes of no picture

    EXPECT_EQ(image.width, 50);
    EXPECT_EQ(image.height, 40);
    EXPECT_EQ(image.bitmap, bitmap);
    EXPECT_EQ(image.pixels, pixels);
    EXPECT_EQ(PixelsOf(image), before);

    IMAGE empty;
    LoadResourcePicture(&empty, "IMAGE", MAKEINTRESOURCEA(900), 0, 0, false);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.bitmap, nullptr);
}

// With the window open: loads into the back buffer and presenting them.
class BackBufferLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = OpenGraphWindow(kWidth, kHeight, 0);
        ASSERT_NE(window, nullptr);
        SettleWindow(window);
    }
    void TearDown() override
    {
        SelectTarget(nullptr);
        EndBatch();
        CloseGraphWindow();
    }
    std::vector<uint32_t> Shown() { return CaptureClient(window, kWidth, kHeight); }
    std::vector<uint32_t> BackBuffer() { return PixelsOf(Graphics().window); }

    static constexpr int kWidth = 320;
    static constexpr int kHeight = 200;
    HWND window = nullptr;
};

TEST_F(BackBufferLoading, ANullImageLoadsAtTheTopLeftAndPresentsEvenInsideABatch)
{
    const ReferencePicture sheet = RocketSheet();
    BeginBatch();
    LoadResourcePicture(nullptr, "IMAGE", kSheet, 0, 0, false);
    const IMAGE& backBuffer = Graphics().window;
    ASSERT_EQ(backBuffer.width, kWidth);
    ASSERT_EQ(backBuffer.height, kHeight);
    EXPECT_EQ(Block(backBuffer, 0, 0, 200, 50), sheet.pixels);
    const std::vector<uint32_t> rest = Block(backBuffer, 0, 50, kWidth, kHeight - 50);
    EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](uint32_t p) { return p == 0; }));
    EXPECT_EQ(Shown(), BackBuffer());
    EXPECT_TRUE(Graphics().window.batching);
}

TEST_F(BackBufferLoading, AFailedNullImageLoadStillPresents)
{
    BeginBatch();
    FillPattern(Graphics().window, 4);
    LoadResourcePicture(nullptr, "IMAGE", MAKEINTRESOURCEA(999), 0, 0, false);
    EXPECT_EQ(Shown(), BackBuffer());
}

TEST_F(BackBufferLoading, ResizingTheBackBufferTakesThePictureSize)
{
    const ReferencePicture sheet = RocketSheet();
    LoadResourcePicture(nullptr, "IMAGE", kSheet, 0, 0, true);
    EXPECT_EQ(Graphics().window.width, 200);
    EXPECT_EQ(Graphics().window.height, 50);
    EXPECT_EQ(BackBuffer(), sheet.pixels);
}

TEST_F(BackBufferLoading, WhileAnImageIsTheTargetTheWindowNeverShowsThatImage)
{
    constexpr uint32_t kMarker = 0x00123456;
    IMAGE selected(kWidth, kHeight);
    FillWith(selected, kMarker);
    SelectTarget(&selected);
    LoadResourcePicture(nullptr, "IMAGE", kSheet, 0, 0, false);

    EXPECT_EQ(Block(Graphics().window, 0, 0, 200, 50), RocketSheet().pixels);
    const std::vector<uint32_t> selectedAfter = PixelsOf(selected);
    EXPECT_TRUE(std::all_of(selectedAfter.begin(), selectedAfter.end(), [&](uint32_t p) { return p == kMarker; }));
    const std::vector<uint32_t> shown = Shown();
    const std::vector<uint32_t> backBuffer = BackBuffer();
    for (size_t i = 0; i < shown.size(); ++i) {
        ASSERT_TRUE(shown[i] == 0 || shown[i] == backBuffer[i]) << "pixel " << i << " shows " << shown[i];
    }
}

TEST_F(BackBufferLoading, AnImageThatIsTheTargetLoadsWithoutPresenting)
{
    IMAGE selected(200, 50);
    SelectTarget(&selected);
    LoadResourcePicture(&selected, "IMAGE", kSheet, 0, 0, false);
    EXPECT_EQ(PixelsOf(selected), RocketSheet().pixels);
    const std::vector<uint32_t> backBuffer = BackBuffer();
    EXPECT_TRUE(std::all_of(backBuffer.begin(), backBuffer.end(), [](uint32_t p) { return p == 0; }));
    const std::vector<uint32_t> shown = Shown();
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](uint32_t p) { return p == 0; }));
}

// Holds the graphics lock on another thread until the loading thread waits for
// it, and records whether the back buffer changed meanwhile.
struct LockHolder {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const IMAGE* backBuffer = nullptr;
    std::vector<uint32_t> before;
    bool sawWaiter = false;
    bool unchangedWhileHeld = false;

    static DWORD WINAPI Run(LPVOID parameter)
    {
        auto* holder = static_cast<LockHolder*>(parameter);
        static_assert(std::is_standard_layout_v<Tovax::CriticalSection> &&
                      sizeof(Tovax::CriticalSection) == sizeof(CRITICAL_SECTION));
        auto* section = reinterpret_cast<CRITICAL_SECTION*>(&Graphics().lock);
        Graphics().lock.Enter();
        SetEvent(holder->held);
        // LockCount rises above 0 once another thread waits for the section.
        for (int i = 0; i < 20000 && InterlockedExchangeAdd(&section->LockCount, 0) < 1; ++i) Sleep(1);
        holder->sawWaiter = InterlockedExchangeAdd(&section->LockCount, 0) >= 1;
        holder->unchangedWhileHeld = PixelsOf(*holder->backBuffer) == holder->before;
        Graphics().lock.Leave();
        return 0;
    }
};

TEST_F(BackBufferLoading, RenderingIntoTheBackBufferWaitsForTheLock)
{
    LockHolder holder;
    holder.backBuffer = &Graphics().window;
    holder.before = BackBuffer();
    HANDLE thread = CreateThread(nullptr, 0, LockHolder::Run, &holder, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(holder.held, INFINITE);
    LoadResourcePicture(nullptr, "IMAGE", kSheet, 0, 0, false);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(holder.held);

    EXPECT_TRUE(holder.sawWaiter);
    EXPECT_TRUE(holder.unchangedWhileHeld) << "the picture was drawn while another thread held the lock";
    EXPECT_EQ(Block(Graphics().window, 0, 0, 200, 50), RocketSheet().pixels);
}

}  // namespace
