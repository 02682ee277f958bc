#include "bursts.h"

#include <cmath>

#include "show_test_support.h"

namespace {

// The pixel array with 200 guard rows above and below, to catch writes
// outside the 1200 x 800 screen.
class Canvas {
public:
    static constexpr int kGuardRows = 200;

    Canvas() : storage(static_cast<size_t>(kScreenWidth) * (kScreenHeight + 2 * kGuardRows), 0) {}
    uint32_t* Pixels() { return storage.data() + kGuardRows * kScreenWidth; }
    void Clear() { std::fill(storage.begin(), storage.end(), 0u); }
    int GuardWrites() const
    {
        int writes = 0;
        const size_t screenBegin = static_cast<size_t>(kGuardRows) * kScreenWidth;
        const size_t screenEnd = screenBegin + static_cast<size_t>(kScreenWidth) * kScreenHeight;
        for (size_t i = 0; i < storage.size(); ++i) {
            if ((i < screenBegin || i >= screenEnd) && storage[i] != 0) ++writes;
        }
        return writes;
    }

private:
    std::vector<uint32_t> storage;
};

std::vector<uint32_t> Black()
{
    return std::vector<uint32_t>(kScreenWidth * kScreenHeight, 0);
}

// A photograph whose every pixel is bright and nearly every one distinct.
int32_t PhotoColor(int x, int y)
{
    const int red = 33 + (x * 7) % 200;
    const int green = 33 + (y * 5) % 200;
    const int blue = 33 + ((x + y) * 3) % 200;
    return (blue << 16) | (green << 8) | red;
}

void FillPhoto(Firework& firework, int32_t (*color)(int, int))
{
    for (int x = 0; x < kPhotoSize; ++x) {
        for (int y = 0; y < kPhotoSize; ++y) firework.colors[x * kPhotoSize + y] = color(x, y);
    }
}

// What one ring must write, from the sampling rule: 629 samples along the
// accumulated angle, coordinates truncated toward zero, the photograph's first
// row and column and everything outside it skipped, dark components skipped,
// screen row 0, column 0 and everything outside the screen skipped.
void ModelRing(const Firework& firework, int radius, std::vector<uint32_t>& model)
{
    int samples = 0;
    for (double angle = 0.0; angle <= 6.28; angle += 0.01) {
        ++samples;
        const double dx = std::cos(angle) * radius;
        const double dy = std::sin(angle) * radius;
        const double sourceX = firework.sourceCenterX + dx;
        const double sourceY = firework.sourceCenterY - dy;
        const double screenX = firework.centerX + dx;
        const double screenY = firework.centerY - dy;
        const int sx = static_cast<int>(std::trunc(sourceX));
        const int sy = static_cast<int>(std::trunc(sourceY));
        const int px = static_cast<int>(std::trunc(screenX));
        const int py = static_cast<int>(std::trunc(screenY));
        if (sx < 1 || sx > 239 || sy < 1 || sy > 239) continue;
        if (px < 1 || px > 1199 || py < 1 || py > 799) continue;
        const uint32_t color = static_cast<uint32_t>(firework.colors[sx * 240 + sy]);
        const uint32_t red = color & 0xFF;
        const uint32_t green = (color >> 8) & 0xFF;
        const uint32_t blue = (color >> 16) & 0xFF;
        // Blue is tested together with the top byte, as a signed value.
        const bool negative = (color & 0x80000000u) != 0;
        const bool blueTestPasses = !negative && (color >> 16) > 32;
        if (red < 33 || green < 33 || !blueTestPasses) continue;
        model[py * kScreenWidth + px] = (color & 0xFF000000u) | (red << 16) | (green << 8) | blue;
    }
    ASSERT_EQ(samples, 629);
}

uint32_t DelayAfterRadius(int radius)
{
    if (radius < 50) return 5;
    if (radius < 60) return 6;
    if (radius < 100) return 25;
    if (radius < 150) return 55;
    return 0;
}

void StartBurst(int index, int centerX, int centerY)
{
    Firework& firework = fireworks[index];
    firework.bursting = 1;
    firework.centerX = centerX;
    firework.centerY = centerY;
    firework.lastStepTime = fakeNow;
}

class BurstRulesTest : public ShowTest {
protected:
    Canvas canvas;
};

class BurstsTest : public BurstRulesTest, public ::testing::WithParamInterface<int> {};

TEST_P(BurstsTest, RingsOneToMaxRadiusMinusTwoWithTheirDelaysAndPixels)
{
    const int index = GetParam();
    Firework& firework = fireworks[index];
    FillPhoto(firework, PhotoColor);
    StartBurst(index, 600, 400);
    ReferenceRand reference = SeedBoth(17);

    const int lastRing = firework.maxRadius - 2;
    for (int radius = 1; radius <= lastRing; ++radius) {
        canvas.Clear();
        fakeNow += firework.stepDelay;
        RenderBursts(canvas.Pixels());
        ASSERT_EQ(firework.radius, radius - 1) << "a step came too early";
        ASSERT_EQ(CompareScreen(canvas.Pixels(), Black()), "") << "ring " << radius - 1 << " drawn twice";

        fakeNow += 1;
        RenderBursts(canvas.Pixels());
        ASSERT_EQ(firework.radius, radius);
        EXPECT_EQ(firework.stepDelay, DelayAfterRadius(radius)) << "after radius " << radius;
        EXPECT_EQ(firework.lastStepTime, fakeNow);
        EXPECT_EQ(firework.ringPending, 0);
        std::vector<uint32_t> model = Black();
        ModelRing(firework, radius, model);
        ASSERT_EQ(CompareScreen(canvas.Pixels(), model), "") << "ring " << radius;
    }

    // Reaching maxRadius - 1 ends the burst without drawing that ring.
    canvas.Clear();
    fakeNow += firework.stepDelay + 1;
    const int expectedLaunchDelay = reference.Next() % 10;
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(firework.bursting, 0);
    EXPECT_EQ(firework.radius, 0);
    EXPECT_EQ(firework.centerX, 0);
    EXPECT_EQ(firework.stepDelay, 5u);
    EXPECT_EQ(firework.lastStepTime, fakeNow);
    EXPECT_EQ(launchers[index].stepDelay, static_cast<uint32_t>(expectedLaunchDelay));
    EXPECT_EQ(CompareScreen(canvas.Pixels(), Black()), "");
    ExpectSameNextRandom(reference);
    EXPECT_EQ(canvas.GuardWrites(), 0);
}

// Firework 0 stops at 120, firework 2 at 155 and reaches the 0 ms rings.
INSTANTIATE_TEST_SUITE_P(Fireworks, BurstsTest, ::testing::Values(0, 2));

TEST_F(BurstRulesTest, BrightnessTestDrawsComponentsOf33AndNotOf32)
{
    struct Case {
        uint32_t color;
        uint32_t pixel;  // 0: never drawn
    };
    const Case cases[] = {
        {0x00212121u, 0x00212121u},  // 33 in every component
        {0x00202121u, 0},            // blue 32
        {0x00212021u, 0},            // green 32
        {0x00212120u, 0},            // red 32
        {0xFFFFFFFFu, 0},            // the invalid colour: the arithmetic shift makes it negative
        {0x80FFFFFFu, 0},
        {0x01214263u, 0x01634221u},  // red and blue exchanged, green and the top byte kept
    };
    Firework& firework = fireworks[1];
    for (const Case& test : cases) {
        std::fill(std::begin(firework.colors), std::end(firework.colors), static_cast<int32_t>(test.color));
        canvas.Clear();
        StartBurst(1, 600, 400);
        firework.radius = 9;
        fakeNow += 100;
        RenderBursts(canvas.Pixels());
        ASSERT_EQ(firework.radius, 10);
        std::vector<uint32_t> model = Black();
        ModelRing(firework, 10, model);
        int written = 0;
        for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
            if (canvas.Pixels()[i] == 0) continue;
            ++written;
            EXPECT_EQ(canvas.Pixels()[i], test.pixel) << std::hex << "colour 0x" << test.color;
        }
        if (test.pixel == 0) {
            EXPECT_EQ(written, 0) << std::hex << "colour 0x" << test.color;
        } else {
            EXPECT_GT(written, 40) << std::hex << "colour 0x" << test.color;
            EXPECT_EQ(CompareScreen(canvas.Pixels(), model), "");
        }
    }
}

TEST_F(BurstRulesTest, BurstsAtTheEdgesWriteOnlyColumns1To1199AndRows1To799)
{
    const POINT centres[] = {{3, 2}, {1196, 797}, {0, 400}, {600, 0}};
    for (const POINT& centre : centres) {
        ShowTest::SetUp();
        Firework& firework = fireworks[0];
        FillPhoto(firework, PhotoColor);
        canvas.Clear();
        StartBurst(0, centre.x, centre.y);
        std::vector<uint32_t> model = Black();
        while (firework.bursting == 1) {
            fakeNow += 100;
            RenderBursts(canvas.Pixels());
            if (firework.bursting == 1) ModelRing(firework, firework.radius, model);
        }
        EXPECT_EQ(canvas.GuardWrites(), 0) << "centre " << centre.x << ", " << centre.y;
        EXPECT_EQ(CompareScreen(canvas.Pixels(), model), "") << "centre " << centre.x << ", " << centre.y;
        int edgeWrites = 0;
        for (int x = 0; x < kScreenWidth; ++x) edgeWrites += canvas.Pixels()[x] != 0;
        for (int y = 0; y < kScreenHeight; ++y) edgeWrites += canvas.Pixels()[y * kScreenWidth] != 0;
        EXPECT_EQ(edgeWrites, 0) << "centre " << centre.x << ", " << centre.y;
    }
}

int32_t BrightEdgesOnly(int x, int y)
{
    return x == 0 || y == 0 ? 0x00FFFFFF : 0;
}

TEST_F(BurstRulesTest, PhotographsFirstRowAndColumnAreNeverSampled)
{
    // Firework 2's rings reach 110 pixels left and 85 pixels up of its source centre.
    Firework& firework = fireworks[2];
    FillPhoto(firework, BrightEdgesOnly);
    StartBurst(2, 600, 400);
    while (firework.bursting == 1) {
        fakeNow += 100;
        RenderBursts(canvas.Pixels());
    }
    EXPECT_EQ(CompareScreen(canvas.Pixels(), Black()), "");
}

TEST_F(BurstRulesTest, IdleFireworksNeitherStepNorDraw)
{
    for (Firework& firework : fireworks) FillPhoto(firework, PhotoColor);
    fakeNow += 100000;
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(clockReads, FireworkCount);
    for (const Firework& firework : fireworks) {
        EXPECT_EQ(firework.radius, 0);
        EXPECT_EQ(firework.checkTime, fakeNow);
    }
    EXPECT_EQ(CompareScreen(canvas.Pixels(), Black()), "");
}

TEST_F(BurstRulesTest, RadiusGrowsByOnePerFrameHoweverLateTheFrame)
{
    Firework& firework = fireworks[6];
    FillPhoto(firework, PhotoColor);
    StartBurst(6, 500, 500);
    for (int frame = 1; frame <= 3; ++frame) {
        fakeNow += 5000;
        RenderBursts(canvas.Pixels());
        EXPECT_EQ(firework.radius, frame);
    }
}

TEST_F(BurstRulesTest, StepDelayIsMeasuredAcrossTheClockWrap)
{
    Firework& firework = fireworks[4];
    StartBurst(4, 500, 500);
    firework.lastStepTime = 0xFFFFFFFAu;
    fakeNow = 0xFFFFFFFFu;  // 5 ms later
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(firework.radius, 0);
    fakeNow = 0;
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(firework.radius, 1);
    EXPECT_EQ(firework.lastStepTime, 0u);
}

}  // namespace
