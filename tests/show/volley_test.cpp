#include "volley.h"

#include "launch.h"
#include "show_test_support.h"

namespace {

using VolleyTest = ShowTest;

struct Formation {
    int x;
    int burstY;
};

// Start x and burst height of each firework in the heart.
const Formation kHeart[FireworkCount] = {{600, 650}, {750, 530}, {910, 400}, {1000, 220}, {950, 50},
                                         {750, 40},  {600, 200}, {450, 40},  {250, 50},   {150, 220},
                                         {250, 400}, {410, 530}, {600, 650}};

TEST_F(VolleyTest, NothingWithin20SecondsAlsoAcrossTheClockWrap)
{
    uint32_t lastVolleyTime = 0xFFFFD000u;
    fakeNow = 0xFFFFD000u + 20000u;  // wraps past zero
    ReferenceRand reference = SeedBoth(5);
    FireFormationVolley(lastVolleyTime);
    EXPECT_EQ(lastVolleyTime, 0xFFFFD000u);
    for (const Launcher& launcher : launchers) EXPECT_EQ(launcher.rising, 0);

    fakeNow += 1;
    FireFormationVolley(lastVolleyTime);
    EXPECT_EQ(lastVolleyTime, fakeNow);
    for (const Launcher& launcher : launchers) EXPECT_EQ(launcher.rising, 1);
    ExpectSameNextRandom(reference);
}

TEST_F(VolleyTest, VolleyTakesEveryPairFromAnyStateAndLeavesInFlightSpritesBehind)
{
    const std::vector<uint32_t> background = Background();
    std::vector<uint32_t> model = background;
    // 0 to 3 idle, 4 to 7 bursting, 8 to 12 rising with their sprite on screen.
    for (int i = 4; i < 8; ++i) {
        fireworks[i].bursting = 1;
        fireworks[i].radius = 40 + i;
        fireworks[i].centerX = 100 * i;
        fireworks[i].centerY = 300;
        fireworks[i].stepDelay = 25;
    }
    for (int i = 8; i < FireworkCount; ++i) {
        Launcher& launcher = launchers[i];
        launcher.x = launcher.burstX = 90 * i - 600;
        launcher.y = 400 + 10 * i;
        launcher.burstY = 100;
        launcher.riseDistance = 500;
        launcher.rising = 1;
        launcher.frameIndex = i % 2;
        BlitImage(launcher.x, launcher.y, &launcher.frames[launcher.frameIndex], SRCINVERT);
        XorSprite(model, launcher.x, launcher.y, SpritePixel(i, i % 2));
    }
    for (int i = 0; i < FireworkCount; ++i) {
        launchers[i].lastStepTime = 300u + i;
        fireworks[i].lastStepTime = 400u + i;
        fireworks[i].ringPending = 0;
    }
    const uint32_t fireworkDelays[] = {5, 5, 5, 5, 25, 25, 25, 25, 5, 5, 5, 5, 5};

    uint32_t lastVolleyTime = 1000;
    fakeNow = 21001;
    ReferenceRand reference = SeedBoth(8);
    FireFormationVolley(lastVolleyTime);
    ExpectSameNextRandom(reference);
    EXPECT_EQ(lastVolleyTime, 21001u);

    for (int i = 0; i < FireworkCount; ++i) {
        const Launcher& launcher = launchers[i];
        const Firework& firework = fireworks[i];
        EXPECT_EQ(launcher.rising, 1) << i;
        EXPECT_EQ(launcher.stepDelay, 7u) << i;
        EXPECT_EQ(launcher.x, kHeart[i].x) << i;
        EXPECT_EQ(launcher.burstX, kHeart[i].x) << i;
        EXPECT_EQ(launcher.burstY, kHeart[i].burstY) << i;
        EXPECT_EQ(launcher.y, kHeart[i].burstY + 750) << i;
        EXPECT_EQ(launcher.riseDistance, 750) << i;
        EXPECT_EQ(launcher.lastStepTime, 300u + i) << i;
        EXPECT_EQ(launcher.frameIndex, i >= 8 ? i % 2 : 0) << i;
        EXPECT_EQ(firework.centerX, kHeart[i].x + 10) << i;
        EXPECT_EQ(firework.centerY, kHeart[i].burstY) << i;
        EXPECT_EQ(firework.bursting, 0) << i;
        EXPECT_EQ(firework.radius, 0) << i;
        EXPECT_EQ(firework.stepDelay, fireworkDelays[i]) << i;
        EXPECT_EQ(firework.lastStepTime, 400u + i) << i;
        XorSprite(model, kHeart[i].x, kHeart[i].burstY + 750, SpritePixel(i, launcher.frameIndex));
    }
    // Only launchers 5 and 7 start inside the window, with their top 10 rows.
    EXPECT_NE(ScreenAt(755, 799), background[799 * kScreenWidth + 755]);
    EXPECT_NE(ScreenAt(455, 790), background[790 * kScreenWidth + 455]);
    EXPECT_EQ(CompareScreen(Screen(), model), "");
}

TEST_F(VolleyTest, FormationRisesTogetherAndBurstsAlongTheHeart)
{
    uint32_t lastVolleyTime = 0;
    fakeNow = 20001;
    ReferenceRand reference = SeedBoth(31337);
    FireFormationVolley(lastVolleyTime);

    // Every frame is later than any step delay, so every launcher steps each frame.
    int frames = 0;
    for (; frames < 200; ++frames) {
        bool anyRising = false;
        for (const Launcher& launcher : launchers) anyRising = anyRising || launcher.rising == 1;
        if (!anyRising) break;
        fakeNow += 14;
        StepLaunchers();
    }
    EXPECT_EQ(frames, 150);
    for (int i = 0; i < FireworkCount; ++i) {
        EXPECT_EQ(fireworks[i].bursting, 1) << i;
        EXPECT_EQ(fireworks[i].centerX, kHeart[i].x + 10) << i;
        EXPECT_EQ(fireworks[i].centerY, kHeart[i].burstY) << i;
    }
    // From its 113th step on, the arriving one included, each launcher draws a
    // new delay: 38 random numbers per launcher.
    reference.Skip(38 * FireworkCount);
    ExpectSameNextRandom(reference);
    EXPECT_EQ(CompareScreen(Screen(), Background()), "");
}

}  // namespace
