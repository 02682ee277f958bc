#include "bursts.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "show_test_support.h"

namespace {

// The pixel array with 200 guard rows above and below, to catch writes
// outside the 1200 x 800 screen.
class Canvas {
public:
    static constexpr int kGuardRows = 200;

    Canvas() : storage(static_cast<size_t>(kScreenWidth) * (kScreenHeight + 2 * kGuardRows), 0) {}
    uint32_t* Pixels() { return storage.data() + kGuardRows * kScreenWidth; }
    uint32_t At(int x, int y) { return Pixels()[y * kScreenWidth + x]; }
    void Clear() { std::fill(storage.begin(), storage.end(), 0u); }
    int ScreenWrites()
    {
        return static_cast<int>(std::count_if(Pixels(), Pixels() + kScreenWidth * kScreenHeight,
                                              [](uint32_t pixel) { return pixel != 0; }));
    }
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

// A photograph whose every pixel is bright and tells where it was taken from:
// red and green hold x and y below 200, blue their hundreds.
int32_t PhotoColor(int x, int y)
{
    const int red = 33 + x % 200;
    const int green = 33 + y % 200;
    const int blue = 33 + x / 200 + 2 * (y / 200);
    return (blue << 16) | (green << 8) | red;
}

// The photograph pixel that a screen pixel (0x00RRGGBB) shows.
bool PhotoPlace(uint32_t pixel, POINT& place)
{
    const int red = static_cast<int>(pixel >> 16) - 33;
    const int green = static_cast<int>((pixel >> 8) & 0xFF) - 33;
    const int blue = static_cast<int>(pixel & 0xFF) - 33;
    if (pixel > 0x00FFFFFFu || red < 0 || green < 0 || blue < 0 || blue > 3) return false;
    place = POINT{red + 200 * (blue & 1), green + 200 * (blue >> 1)};
    return true;
}

void FillPhoto(Firework& firework, int32_t (*color)(int, int))
{
    for (int x = 0; x < kPhotoSize; ++x) {
        for (int y = 0; y < kPhotoSize; ++y) firework.colors[x * kPhotoSize + y] = color(x, y);
    }
}

const double kPi = std::acos(-1.0);

// Checks every pixel written in the square of side 2 * reach around the burst
// centre: it shows the photograph pixel that lies at the same offset from the
// photograph's burst centre, never the photograph's first row or column, and,
// for a ring, lies on its circle. Marks the eighths of the circle it reached.
std::string CheckBurstPixels(Canvas& canvas, POINT centre, POINT source, int reach, int ring, int* eighths)
{
    const int centreX = static_cast<int>(centre.x);
    const int centreY = static_cast<int>(centre.y);
    for (int y = std::max(0, centreY - reach); y <= std::min(kScreenHeight - 1, centreY + reach); ++y) {
        for (int x = std::max(0, centreX - reach); x <= std::min(kScreenWidth - 1, centreX + reach); ++x) {
            const uint32_t pixel = canvas.At(x, y);
            if (pixel == 0) continue;
            const std::string where = " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            POINT place;
            if (!PhotoPlace(pixel, place)) return "not a photograph colour" + where;
            const int dx = x - centreX;
            const int dy = y - centreY;
            if (place.x != source.x + dx || place.y != source.y + dy) {
                return "photograph pixel (" + std::to_string(place.x) + ", " + std::to_string(place.y) + ")" + where;
            }
            if (place.x == 0 || place.y == 0) return "the photograph's first row or column" + where;
            if (ring > 0) {
                // Truncation puts the sample within the pixel's square.
                const double distance = std::hypot(dx + 0.5, dy + 0.5);
                if (std::fabs(distance - ring) > 1.0) return "off ring " + std::to_string(ring) + where;
                const double angle = std::atan2(-(dy + 0.5), dx + 0.5) + kPi;
                *eighths |= 1 << std::min(7, static_cast<int>(angle * 4 / kPi));
            }
        }
    }
    return std::string();
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
    void SetUp() override
    {
        ShowTest::SetUp();
        for (Firework& firework : fireworks) FillPhoto(firework, PhotoColor);
    }

    Canvas canvas;
};

struct Burst {
    int index;
    int maxRadius;
    POINT source;  // the burst centre in the photograph
};

class BurstsTest : public BurstRulesTest, public ::testing::WithParamInterface<Burst> {};

TEST_P(BurstsTest, RingsOneToMaxRadiusMinusTwoRevealThePhotographAroundItsCentre)
{
    const Burst burst = GetParam();
    const POINT centre{600, 400};
    Firework& firework = fireworks[burst.index];
    StartBurst(burst.index, centre.x, centre.y);
    ReferenceRand reference = SeedBoth(17);
    // Rings that lie wholly inside the photograph reach all around.
    const int wholeRings = std::min({burst.source.x, burst.source.y, 239 - burst.source.x, 239 - burst.source.y});

    for (int radius = 1; radius <= burst.maxRadius - 2; ++radius) {
        fakeNow += firework.stepDelay;
        RenderBursts(canvas.Pixels());
        ASSERT_EQ(firework.radius, radius - 1) << "a step came too early";

        fakeNow += 1;
        RenderBursts(canvas.Pixels());
        ASSERT_EQ(firework.radius, radius);
        EXPECT_EQ(firework.stepDelay, DelayAfterRadius(radius)) << "after radius " << radius;
        EXPECT_EQ(firework.lastStepTime, fakeNow);
        EXPECT_EQ(firework.ringPending, 0);
        int eighths = 0;
        ASSERT_EQ(CheckBurstPixels(canvas, centre, burst.source, radius + 2, radius, &eighths), "");
        if (radius >= 8 && radius < wholeRings) {
            EXPECT_EQ(eighths, 0xFF) << "ring " << radius;
        }
        canvas.Clear();
    }

    // Reaching maxRadius - 1 ends the burst without drawing that ring.
    fakeNow += firework.stepDelay + 1;
    const int expectedLaunchDelay = reference.Next() % 10;
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(firework.bursting, 0);
    EXPECT_EQ(firework.radius, 0);
    EXPECT_EQ(firework.centerX, 0);
    EXPECT_EQ(firework.stepDelay, 5u);
    EXPECT_EQ(firework.lastStepTime, fakeNow);
    EXPECT_EQ(launchers[burst.index].stepDelay, static_cast<uint32_t>(expectedLaunchDelay));
    EXPECT_EQ(canvas.GuardWrites(), 0);
    EXPECT_EQ(CheckBurstPixels(canvas, centre, burst.source, 400, 0, nullptr), "");
    EXPECT_EQ(canvas.ScreenWrites(), 0) << "the ring of maxRadius - 1";
    ExpectSameNextRandom(reference);
}

INSTANTIATE_TEST_SUITE_P(Fireworks, BurstsTest,
                         ::testing::Values(Burst{0, 120, {120, 120}}, Burst{1, 120, {120, 120}},
                                           Burst{2, 155, {110, 85}}, Burst{3, 123, {117, 118}},
                                           Burst{4, 130, {110, 120}}, Burst{5, 147, {93, 103}},
                                           Burst{6, 138, {102, 105}}, Burst{7, 138, {102, 110}},
                                           Burst{8, 130, {110, 110}}, Burst{9, 135, {105, 120}},
                                           Burst{10, 140, {100, 120}}, Burst{11, 132, {108, 104}},
                                           Burst{12, 155, {110, 85}}));

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
        {0x80FFFFFFu, 0},           {0x01214263u, 0x01634221u},  // red and blue exchanged, green and the top byte kept
        {0x01204263u, 0x01634220u},                              // blue is tested together with the top byte
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
        int written = 0;
        for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
            if (canvas.Pixels()[i] == 0) continue;
            ++written;
            EXPECT_EQ(canvas.Pixels()[i], test.pixel) << std::hex << "colour 0x" << test.color;
        }
        EXPECT_EQ(written > 40, test.pixel != 0)
            << std::hex << "colour 0x" << test.color << std::dec << ": " << written << " pixels";
    }
}

TEST_F(BurstRulesTest, BurstsAtTheEdgesWriteOnlyColumns1To1199AndRows1To799)
{
    const struct {
        POINT centre;
        int edgeColumn;  // -1: none reached
        int edgeRow;
    } cases[] = {{{3, 2}, 1, 1}, {{1196, 797}, 1199, 799}, {{0, 400}, 1, -1}, {{600, 0}, -1, 1}};
    for (const auto& test : cases) {
        const std::string name = std::to_string(test.centre.x) + ", " + std::to_string(test.centre.y);
        canvas.Clear();
        StartBurst(0, test.centre.x, test.centre.y);
        while (fireworks[0].bursting == 1) {
            fakeNow += 100;
            RenderBursts(canvas.Pixels());
        }
        EXPECT_EQ(canvas.GuardWrites(), 0) << name;
        EXPECT_EQ(CheckBurstPixels(canvas, test.centre, POINT{120, 120}, 1200, 0, nullptr), "") << name;
        int edgeWrites = 0;
        int columnWrites = 0;
        int rowWrites = 0;
        for (int x = 0; x < kScreenWidth; ++x) {
            edgeWrites += canvas.At(x, 0) != 0;
            if (test.edgeRow >= 0) rowWrites += canvas.At(x, test.edgeRow) != 0;
        }
        for (int y = 0; y < kScreenHeight; ++y) {
            edgeWrites += canvas.At(0, y) != 0;
            if (test.edgeColumn >= 0) columnWrites += canvas.At(test.edgeColumn, y) != 0;
        }
        EXPECT_EQ(edgeWrites, 0) << name;
        EXPECT_EQ(columnWrites > 0, test.edgeColumn >= 0) << name;
        EXPECT_EQ(rowWrites > 0, test.edgeRow >= 0) << name;
    }
}

TEST_F(BurstRulesTest, IdleFireworksNeitherStepNorDraw)
{
    fakeNow += 100000;
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(clockReads, FireworkCount);
    for (const Firework& firework : fireworks) {
        EXPECT_EQ(firework.radius, 0);
        EXPECT_EQ(firework.checkTime, fakeNow);
    }
    EXPECT_EQ(canvas.ScreenWrites() + canvas.GuardWrites(), 0);
}

// However late a frame, the radius grows by one; the delay is measured
// across the clock's wrap.
TEST_F(BurstRulesTest, OneStepPerFrameOnceMoreThanTheDelayHasPassed)
{
    Firework& firework = fireworks[4];
    StartBurst(4, 500, 500);
    for (int frame = 1; frame <= 3; ++frame) {
        fakeNow += 5000;
        RenderBursts(canvas.Pixels());
        EXPECT_EQ(firework.radius, frame);
    }
    firework.lastStepTime = 0xFFFFFFFAu;
    fakeNow = 0xFFFFFFFFu;  // 5 ms later
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(firework.radius, 3);
    fakeNow = 0;
    RenderBursts(canvas.Pixels());
    EXPECT_EQ(firework.radius, 4);
    EXPECT_EQ(firework.lastStepTime, 0u);
}

}  // namespace
