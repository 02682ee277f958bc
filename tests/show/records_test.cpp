#include <cstddef>
#include <type_traits>

#include "graphics_state.h"
#include "show_test_support.h"

namespace {

using RecordsTest = ShowTest;

TEST(RecordLayout, FieldsInOrderWithTheirWidths)
{
    static_assert(std::is_standard_layout<Firework>::value, "Firework is a plain record");
    const size_t fireworkOffsets[] = {
        offsetof(Firework, radius),      offsetof(Firework, maxRadius),     offsetof(Firework, centerX),
        offsetof(Firework, centerY),     offsetof(Firework, sourceCenterX), offsetof(Firework, sourceCenterY),
        offsetof(Firework, sourceWidth), offsetof(Firework, sourceHeight),  offsetof(Firework, colors),
        offsetof(Firework, bursting),    offsetof(Firework, ringPending),   offsetof(Firework, lastStepTime),
        offsetof(Firework, checkTime),   offsetof(Firework, stepDelay)};
    for (size_t i = 1; i < sizeof(fireworkOffsets) / sizeof(fireworkOffsets[0]); ++i) {
        EXPECT_LT(fireworkOffsets[i - 1], fireworkOffsets[i]) << "Firework field " << i;
    }
    EXPECT_EQ(sizeof(Firework::colors), 240u * 240u * 4u);
    EXPECT_TRUE(std::is_signed<std::remove_extent<decltype(Firework::colors)>::type>::value);
    EXPECT_EQ(sizeof(Firework::bursting), 1u);
    EXPECT_EQ(sizeof(Firework::stepDelay), 4u);

    const Launcher& launcher = launchers[0];
    const char* base = reinterpret_cast<const char*>(&launcher);
    const char* launcherFields[] = {reinterpret_cast<const char*>(&launcher.x),
                                    reinterpret_cast<const char*>(&launcher.y),
                                    reinterpret_cast<const char*>(&launcher.burstX),
                                    reinterpret_cast<const char*>(&launcher.burstY),
                                    reinterpret_cast<const char*>(&launcher.riseDistance),
                                    reinterpret_cast<const char*>(&launcher.rising),
                                    reinterpret_cast<const char*>(&launcher.lastStepTime),
                                    reinterpret_cast<const char*>(&launcher.checkTime),
                                    reinterpret_cast<const char*>(&launcher.stepDelay),
                                    reinterpret_cast<const char*>(&launcher.frames[0]),
                                    reinterpret_cast<const char*>(&launcher.frames[1])};
    EXPECT_EQ(launcherFields[0], base);
    for (size_t i = 1; i < sizeof(launcherFields) / sizeof(launcherFields[0]); ++i) {
        EXPECT_LT(launcherFields[i - 1], launcherFields[i]) << "Launcher field " << i;
    }
    EXPECT_EQ(sizeof(launcher.rising), 1u);
    EXPECT_GE(sizeof(Launcher), static_cast<size_t>(launcherFields[10] - base) + sizeof(IMAGE) + 1);
}

TEST_F(RecordsTest, InitFireworkSetsTheIdleStateAndDrawsOneRandomNumber)
{
    Firework& firework = fireworks[5];
    Launcher& launcher = launchers[5];
    firework.radius = 77;
    firework.centerX = 300;
    firework.centerY = 200;
    firework.bursting = 1;
    firework.ringPending = 1;
    firework.checkTime = 4444;
    firework.stepDelay = 55;
    firework.colors[1234] = 0x00ABCDEF;
    launcher.x = launcher.burstX = 100;
    launcher.y = 300;
    launcher.burstY = 50;
    launcher.riseDistance = 250;
    launcher.rising = 1;
    launcher.checkTime = 5555;
    launcher.frameIndex = 1;

    // The clock advances by one at every read: the firework's time is read first.
    ShowClockFunction countingClock = [] { return ++fakeNow; };
    SetShowClock(countingClock);
    fakeNow = 7000;
    ReferenceRand reference = SeedBoth(20240501);
    const uint32_t expectedDelay = static_cast<uint32_t>(reference.Next() % 10);
    InitFirework(5);
    ExpectSameNextRandom(reference);

    EXPECT_EQ(firework.radius, 0);
    EXPECT_EQ(firework.maxRadius, 147);
    EXPECT_EQ(firework.centerX, 0);
    EXPECT_EQ(firework.centerY, 0);
    EXPECT_EQ(firework.sourceCenterX, 93);
    EXPECT_EQ(firework.sourceCenterY, 103);
    EXPECT_EQ(firework.sourceWidth, 240);
    EXPECT_EQ(firework.sourceHeight, 240);
    EXPECT_EQ(firework.bursting, 0);
    EXPECT_EQ(firework.stepDelay, 5u);
    EXPECT_EQ(firework.lastStepTime, 7001u);
    EXPECT_EQ(firework.ringPending, 1) << "left as it was";
    EXPECT_EQ(firework.checkTime, 4444u) << "left as it was";
    EXPECT_EQ(firework.colors[1234], 0x00ABCDEF) << "left as it was";

    EXPECT_EQ(launcher.x, -240);
    EXPECT_EQ(launcher.y, -240);
    EXPECT_EQ(launcher.burstX, -240);
    EXPECT_EQ(launcher.burstY, -240);
    EXPECT_EQ(launcher.riseDistance, 0);
    EXPECT_EQ(launcher.rising, 0);
    EXPECT_EQ(launcher.lastStepTime, 7002u);
    EXPECT_EQ(launcher.checkTime, 5555u) << "left as it was";
    EXPECT_EQ(launcher.stepDelay, expectedDelay);
    EXPECT_EQ(launcher.frameIndex, 0);
    EXPECT_EQ(launcher.frames[1].width, kSpriteWidth) << "frames left as they were";
}

// Colour reference (0x00BBGGRR) of a pixel (0x00RRGGBB).
uint32_t PixelToColor(uint32_t pixel)
{
    return (pixel & 0xFF00FF00u) | ((pixel & 0xFFu) << 16) | ((pixel >> 16) & 0xFFu);
}

TEST_F(RecordsTest, LoadShowAssetsReadsThePhotographsColumnByColumnThenPicksRocketColours)
{
    IMAGE strip;
    IMAGE sheet;
    LoadResourcePicture(&strip, "IMAGE", MAKEINTRESOURCEA(103), 0, 0, false);
    LoadResourcePicture(&sheet, "IMAGE", MAKEINTRESOURCEA(104), 0, 0, false);
    ASSERT_EQ(strip.width, 3120);
    ASSERT_EQ(strip.height, 240);
    ASSERT_EQ(sheet.width, 200);
    ASSERT_EQ(sheet.height, 50);
    for (Firework& firework : fireworks) std::fill(std::begin(firework.colors), std::end(firework.colors), -1);

    ReferenceRand reference = SeedBoth(4242);
    LoadShowAssets();

    const uint32_t* stripPixels = GetPixelBuffer(&strip);
    for (int i = 0; i < FireworkCount; ++i) {
        int wrong = 0;
        for (int x = 0; x < kPhotoSize; ++x) {
            for (int y = 0; y < kPhotoSize; ++y) {
                // A colour reference has no top byte, whatever the picture's pixels hold there.
                const uint32_t expected = PixelToColor(stripPixels[y * 3120 + kPhotoSize * i + x]) & 0x00FFFFFFu;
                if (static_cast<uint32_t>(fireworks[i].colors[x * kPhotoSize + y]) != expected) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "colour table of firework " << i;
    }

    // No random number is drawn before the rocket colours, one per launcher.
    const uint32_t* sheetPixels = GetPixelBuffer(&sheet);
    for (int i = 0; i < FireworkCount; ++i) {
        const int colour = reference.Next() % 5;
        for (int frame = 0; frame < 2; ++frame) {
            IMAGE& image = launchers[i].frames[frame];
            ASSERT_EQ(image.width, 20);
            ASSERT_EQ(image.height, 50);
            const int left = 20 * colour + 100 * frame;
            int wrong = 0;
            for (int y = 0; y < 50; ++y) {
                for (int x = 0; x < 20; ++x) {
                    if (GetPixelBuffer(&image)[y * 20 + x] != sheetPixels[y * 200 + left + x]) ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0) << "launcher " << i << " frame " << frame << " should be cell " << colour + 5 * frame;
        }
    }
    ExpectSameNextRandom(reference);
    EXPECT_EQ(clockReads, 0);
    EXPECT_EQ(Tovax::Graphics().target, &Tovax::Graphics().window) << "the window is the target again";
}

}  // namespace
