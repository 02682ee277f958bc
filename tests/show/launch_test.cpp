#include "launch.h"

#include "show_test_support.h"

namespace {

using LaunchTest = ShowTest;

// A seed whose first random value picks firework `pick`, or with -1 none.
uint32_t SeedWhoseFirstPick(int pick)
{
    for (uint32_t seed = 1;; ++seed) {
        ReferenceRand probe(seed);
        const int drawn = probe.Next() % 20;
        if (pick >= 0 ? drawn == pick : drawn >= FireworkCount) return seed;
    }
}

// Too early (also across the clock wrap), a pick of 13 and above, a pick of a
// busy pair: nothing is launched, and a check that came draws only its pick.
TEST_F(LaunchTest, ChecksThatLaunchNothing)
{
    const struct {
        const char* name;
        uint32_t last;
        uint32_t now;
        int pick;
        int busy;  // 1: launcher 4 rising, 2: firework 4 bursting
    } cases[] = {
        {"100 ms later", 5000, 5100, 4, 0},
        {"100 ms later across the wrap", 0xFFFFFFC0u, 0x24, 4, 0},
        {"no firework picked, across the wrap", 0xFFFFFFC0u, 0x25, -1, 0},
        {"rising pair picked", 5000, 6000, 4, 1},
        {"bursting pair picked", 5000, 6000, 4, 2},
    };
    for (const auto& test : cases) {
        launchers[4].rising = test.busy == 1;
        fireworks[4].bursting = test.busy == 2;
        uint32_t lastLaunchTime = test.last;
        fakeNow = test.now;
        ReferenceRand reference = SeedBoth(SeedWhoseFirstPick(test.pick));
        LaunchRandomFirework(lastLaunchTime);
        const bool checked = test.now - test.last > 100;
        reference.Skip(checked ? 1 : 0);
        ExpectSameNextRandom(reference);
        EXPECT_EQ(lastLaunchTime, checked ? test.now : test.last) << test.name;
        for (int i = 0; i < FireworkCount; ++i) EXPECT_EQ(launchers[i].rising, i == 4 && test.busy == 1) << test.name;
    }
    EXPECT_EQ(CompareScreen(Screen(), Background()), "");
}

TEST_F(LaunchTest, LaunchDrawsPickXStartOffsetAndBurstHeightInThatOrder)
{
    uint32_t lastLaunchTime = 5000;
    fakeNow = 5101;
    ReferenceRand reference = SeedBoth(SeedWhoseFirstPick(7));
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
    std::vector<uint32_t> model = Background();
    XorSprite(model, x, y, SpritePixel(pick, 0));
    EXPECT_EQ(CompareScreen(Screen(), model), "");
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

struct Ascent {
    int startY;
    int burstY;
    int steps;
    int firstSlowStep;  // the first step that ends within the last quarter of the way
    int arrivalY;
};

class AscentTest : public ShowTest, public ::testing::WithParamInterface<Ascent> {};

TEST_P(AscentTest, StepsFivePixelsFlickersSlowsInTheLastQuarterAndHandsOverTheBurst)
{
    const Ascent ascent = GetParam();
    const int x = 500;
    StartAscent(3, x, ascent.startY, ascent.burstY, 7, fakeNow);
    ReferenceRand reference = SeedBoth(99);
    const Launcher& launcher = launchers[3];

    uint32_t expectedDelay = 7;
    int steps = 0;
    while (launcher.rising == 1) {
        // Exactly the delay is not enough.
        fakeNow += expectedDelay;
        clockReads = 0;
        StepLaunchers();
        EXPECT_EQ(clockReads, FireworkCount);
        ASSERT_EQ(launcher.y, ascent.startY - 5 * steps) << "a step came too early, after step " << steps;

        fakeNow += 1;
        StepLaunchers();
        ++steps;
        if (steps >= ascent.firstSlowStep) expectedDelay = 10 + reference.Next() % 4;
        ASSERT_EQ(launcher.y, ascent.startY - 5 * steps) << "step " << steps;
        EXPECT_EQ(launcher.frameIndex, steps % 2) << "step " << steps;
        EXPECT_EQ(launcher.stepDelay, expectedDelay) << "step " << steps;
        EXPECT_EQ(launcher.lastStepTime, fakeNow);
        EXPECT_EQ(launcher.checkTime, fakeNow);

        std::vector<uint32_t> model = Background();
        if (launcher.rising == 1) XorSprite(model, x, launcher.y, SpritePixel(3, steps % 2));
        ASSERT_EQ(CompareScreen(Screen(), model), "") << "step " << steps;
    }
    EXPECT_EQ(steps, ascent.steps);
    EXPECT_EQ(launcher.y, ascent.arrivalY);
    EXPECT_EQ(fireworks[3].bursting, 1);
    EXPECT_EQ(fireworks[3].centerX, x + 10);
    EXPECT_EQ(fireworks[3].centerY, ascent.burstY);
    ExpectSameNextRandom(reference);

    // An arrived launcher no longer moves.
    fakeNow += 100;
    StepLaunchers();
    EXPECT_EQ(launcher.y, ascent.arrivalY);
    ExpectSameNextRandom(reference);
}

// 217 pixels end 3 pixels above the burst height; at 240 pixels the step that
// leaves exactly a quarter (60 pixels) is not yet in the last quarter.
INSTANTIATE_TEST_SUITE_P(Distances, AscentTest,
                         ::testing::Values(Ascent{650, 433, 44, 33, 430}, Ascent{640, 400, 48, 37, 400}));

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
    std::vector<uint32_t> model = Background();
    model[610 * kScreenWidth + 305] = 0x00123456 ^ SpritePixel(2, 0);
    XorSprite(model, 300, 595, SpritePixel(2, 1));
    EXPECT_EQ(CompareScreen(Screen(), model), "");
}

}  // namespace
