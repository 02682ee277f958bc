#include "launch.h"

#include "show_test_support.h"

namespace {

using LaunchTest = ShowTest;

// A seed whose first random value picks a firework (want < 13) or not.
uint32_t SeedWhoseFirstPick(bool inRange, int wantedPick = -1)
{
    for (uint32_t seed = 1;; ++seed) {
        ReferenceRand probe(seed);
        const int pick = probe.Next() % 20;
        if (wantedPick >= 0 ? pick == wantedPick : (pick < 13) == inRange) return seed;
    }
}

std::vector<uint32_t> BlackScreen()
{
    return std::vector<uint32_t>(kScreenWidth * kScreenHeight, 0);
}

TEST_F(LaunchTest, NoCheckWithin100Milliseconds)
{
    uint32_t lastLaunchTime = 5000;
    fakeNow = 5100;
    ReferenceRand reference = SeedBoth(SeedWhoseFirstPick(true));
    LaunchRandomFirework(lastLaunchTime);
    EXPECT_EQ(lastLaunchTime, 5000u);
    ExpectSameNextRandom(reference);
    for (const Launcher& launcher : launchers) EXPECT_EQ(launcher.rising, 0);
    EXPECT_EQ(CompareScreen(Screen(), BlackScreen()), "");
}

TEST_F(LaunchTest, LaunchDrawsPickXStartOffsetAndBurstHeightInThatOrder)
{
    uint32_t lastLaunchTime = 5000;
    fakeNow = 5101;
    ReferenceRand reference = SeedBoth(SeedWhoseFirstPick(true));
    const int pick = reference.Next() % 20;
    const int x = reference.Next() % 1200;
    const int y = 600 + reference.Next() % 100;
    const int burstY = reference.Next() % 400;

    LaunchRandomFirework(lastLaunchTime);

    ExpectSameNextRandom(reference);
    EXPECT_EQ(lastLaunchTime, 5101u);
    const Launcher& launcher = launchers[pick];
    EXPECT_EQ(launcher.rising, 1);
    EXPECT_EQ(launcher.x, x);
    EXPECT_EQ(launcher.burstX, x);
    EXPECT_EQ(launcher.y, y);
    EXPECT_EQ(launcher.burstY, burstY);
    EXPECT_EQ(launcher.riseDistance, y - burstY);
    EXPECT_EQ(fireworks[pick].bursting, 0);
    std::vector<uint32_t> model = BlackScreen();
    XorSprite(model, x, y, SpritePixel(pick, 0));
    EXPECT_EQ(CompareScreen(Screen(), model), "");
}

TEST_F(LaunchTest, OutOfRangePickConsumesTheCheck)
{
    uint32_t lastLaunchTime = 5000;
    fakeNow = 5200;
    ReferenceRand reference = SeedBoth(SeedWhoseFirstPick(false));
    reference.Next();
    LaunchRandomFirework(lastLaunchTime);
    ExpectSameNextRandom(reference);
    EXPECT_EQ(lastLaunchTime, 5200u);
    for (const Launcher& launcher : launchers) EXPECT_EQ(launcher.rising, 0);

    // The next chance comes only 100 ms later.
    fakeNow = 5300;
    LaunchRandomFirework(lastLaunchTime);
    ExpectSameNextRandom(reference);
    EXPECT_EQ(lastLaunchTime, 5200u);
    EXPECT_EQ(CompareScreen(Screen(), BlackScreen()), "");
}

TEST_F(LaunchTest, BusyPickLaunchesNothingAndDrawsNoFurtherNumber)
{
    const uint32_t seed = SeedWhoseFirstPick(true, 4);
    for (int busyKind = 0; busyKind < 2; ++busyKind) {
        launchers[4].rising = busyKind == 0 ? 1 : 0;
        fireworks[4].bursting = busyKind == 1 ? 1 : 0;
        launchers[4].y = 321;
        uint32_t lastLaunchTime = 5000;
        fakeNow = 6000;
        ReferenceRand reference = SeedBoth(seed);
        reference.Next();
        LaunchRandomFirework(lastLaunchTime);
        ExpectSameNextRandom(reference);
        EXPECT_EQ(lastLaunchTime, 6000u);
        EXPECT_EQ(launchers[4].y, 321) << (busyKind == 0 ? "rising" : "bursting");
    }
    EXPECT_EQ(CompareScreen(Screen(), BlackScreen()), "");
}

TEST_F(LaunchTest, CheckIntervalIsMeasuredAcrossTheClockWrap)
{
    uint32_t lastLaunchTime = 0xFFFFFFC0u;
    fakeNow = 0x24;  // 100 ms later
    ReferenceRand reference = SeedBoth(SeedWhoseFirstPick(false));
    LaunchRandomFirework(lastLaunchTime);
    EXPECT_EQ(lastLaunchTime, 0xFFFFFFC0u);
    fakeNow = 0x25;
    LaunchRandomFirework(lastLaunchTime);
    EXPECT_EQ(lastLaunchTime, 0x25u);
    reference.Next();
    ExpectSameNextRandom(reference);
}

// Starts launcher `index` as a launch would, sprite included.
void StartAscent(int index, int x, int y, int burstY, uint32_t stepDelay, uint32_t lastStepTime)
{
    Launcher& launcher = launchers[index];
    launcher.x = launcher.burstX = x;
    launcher.y = y;
    launcher.burstY = burstY;
    launcher.riseDistance = y - burstY;
    launcher.rising = 1;
    launcher.stepDelay = stepDelay;
    launcher.lastStepTime = lastStepTime;
    BlitImage(x, y, &launcher.frames[launcher.frameIndex], SRCINVERT);
}

TEST_F(LaunchTest, AscentStepsFivePixelsFlickersSlowsInTheLastQuarterAndHandsOverTheBurst)
{
    // 217 pixels: 44 steps, ending 3 pixels above the burst height.
    const int x = 500;
    const int startY = 650;
    const int burstY = 433;
    StartAscent(3, x, startY, burstY, 7, fakeNow);
    ReferenceRand reference = SeedBoth(99);
    const Launcher& launcher = launchers[3];

    int expectedY = startY;
    int expectedFrame = 0;
    uint32_t expectedDelay = 7;
    int steps = 0;
    while (launcher.rising == 1) {
        // Exactly the delay is not enough.
        fakeNow += expectedDelay;
        clockReads = 0;
        StepLaunchers();
        EXPECT_EQ(clockReads, FireworkCount);
        ASSERT_EQ(launcher.y, expectedY) << "a step came too early, after step " << steps;

        fakeNow += 1;
        StepLaunchers();
        ++steps;
        expectedY -= 5;
        expectedFrame ^= 1;
        if ((expectedY - burstY) * 4 < startY - burstY) expectedDelay = 10 + reference.Next() % 4;
        ASSERT_EQ(launcher.y, expectedY) << "step " << steps;
        EXPECT_EQ(launcher.frameIndex, expectedFrame) << "step " << steps;
        EXPECT_EQ(launcher.stepDelay, expectedDelay) << "step " << steps;
        EXPECT_EQ(launcher.lastStepTime, fakeNow);
        EXPECT_EQ(launcher.checkTime, fakeNow);

        std::vector<uint32_t> model = BlackScreen();
        if (launcher.rising == 1) XorSprite(model, x, expectedY, SpritePixel(3, expectedFrame));
        ASSERT_EQ(CompareScreen(Screen(), model), "") << "step " << steps;
    }
    EXPECT_EQ(steps, 44);
    EXPECT_EQ(launcher.y, burstY - 3);
    EXPECT_EQ(fireworks[3].bursting, 1);
    EXPECT_EQ(fireworks[3].centerX, x + 10);
    EXPECT_EQ(fireworks[3].centerY, burstY);
    ExpectSameNextRandom(reference);

    // An arrived launcher no longer moves.
    fakeNow += 100;
    StepLaunchers();
    EXPECT_EQ(launcher.y, burstY - 3);
    ExpectSameNextRandom(reference);
}

TEST_F(LaunchTest, AscentDelayIsMeasuredAcrossTheClockWrap)
{
    StartAscent(0, 100, 700, 300, 7, 0xFFFFFFFEu);
    fakeNow = 5;  // 7 ms later
    StepLaunchers();
    EXPECT_EQ(launchers[0].y, 700);
    fakeNow = 6;
    StepLaunchers();
    EXPECT_EQ(launchers[0].y, 695);
    EXPECT_EQ(launchers[0].lastStepTime, 6u);
}

TEST_F(LaunchTest, PixelsChangedUnderASpriteKeepAMarkAfterItIsErased)
{
    StartAscent(2, 300, 600, 200, 0, fakeNow);
    Screen()[610 * kScreenWidth + 305] = 0x00123456;  // a ring pixel written over the sprite
    fakeNow += 1;
    StepLaunchers();
    std::vector<uint32_t> model = BlackScreen();
    model[610 * kScreenWidth + 305] = 0x00123456 ^ SpritePixel(2, 0);
    XorSprite(model, 300, 595, SpritePixel(2, 1));
    EXPECT_EQ(CompareScreen(Screen(), model), "");
}

}  // namespace
