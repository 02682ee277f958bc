#include "frame_loop.h"

#include <windows.h>
#include <mmsystem.h>

#include "graphics_state.h"
#include "show_test_support.h"

namespace {

using FrameLoopTest = ShowTest;

TEST_F(FrameLoopTest, PreparationReadsBothTimesIdlesTheFireworksInOrderThenLoadsAndOpensTheBatch)
{
    ShowClockFunction countingClock = [] { return ++fakeNow; };
    SetShowClock(countingClock);
    fakeNow = 500;
    ReferenceRand reference = SeedBoth(2024);
    uint32_t lastLaunchTime = 0;
    uint32_t lastVolleyTime = 0;

    uint32_t* pixels = PrepareShow(lastLaunchTime, lastVolleyTime);

    EXPECT_EQ(lastLaunchTime, 501u);
    EXPECT_EQ(lastVolleyTime, 502u);
    for (int i = 0; i < FireworkCount; ++i) {
        EXPECT_EQ(fireworks[i].lastStepTime, 503u + 2 * i) << i;
        EXPECT_EQ(launchers[i].stepDelay, static_cast<uint32_t>(reference.Next() % 10)) << i;
    }
    reference.Skip(FireworkCount);  // the rocket colours
    ExpectSameNextRandom(reference);
    EXPECT_EQ(pixels, GetPixelBuffer(nullptr));
    EXPECT_TRUE(Tovax::Graphics().window.batching);
    EndBatch();
}

// A seed whose frame blacks out a pixel in the middle of the sky and then,
// once the darkening's 4000 numbers are drawn, picks a firework from 2 to 12.
uint32_t SeedForTheFrame(POINT& darkened)
{
    for (uint32_t seed = 1;; ++seed) {
        ReferenceRand probe(seed);
        darkened = POINT{-1, -1};
        for (int attempt = 0; attempt < 2000; ++attempt) {
            const int x = probe.Next() % 1200;
            const int y = probe.Next() % 800;
            if (darkened.x < 0 && x >= 300 && x < 1100 && y >= 100 && y < 500) darkened = POINT{x, y};
        }
        const int pick = probe.Next() % 20;
        if (darkened.x >= 0 && pick >= 2 && pick < FireworkCount) return seed;
    }
}

// One frame in which a launch, an arriving launcher, a burst and later a
// volley each show whether the steps before them have already run.
TEST_F(FrameLoopTest, FrameSleepsDarkensLaunchesStepsBurstsThenFiresTheVolley)
{
    constexpr uint32_t kRingPixel = 0x00434241u;
    for (Firework& firework : fireworks) {
        std::fill(std::begin(firework.colors), std::end(firework.colors), 0x00414243);
    }
    POINT darkened;
    ReferenceRand reference = SeedBoth(SeedForTheFrame(darkened));
    // Launcher 0 arrives in this frame; firework 1 draws its ring of radius 50
    // through the darkened pixel.
    Launcher& arriving = launchers[0];
    arriving.x = arriving.burstX = 100;
    arriving.y = 305;
    arriving.burstY = 300;
    arriving.riseDistance = 300;
    arriving.rising = 1;
    arriving.stepDelay = 7;
    BlitImage(arriving.x, arriving.y, &arriving.frames[0], SRCINVERT);
    fireworks[1].bursting = 1;
    fireworks[1].radius = 49;
    fireworks[1].centerX = darkened.x - 50;
    fireworks[1].centerY = darkened.y;
    uint32_t lastLaunchTime = fakeNow;
    uint32_t lastVolleyTime = fakeNow;

    fakeNow += 200;
    PlayFrame(Screen(), lastLaunchTime, lastVolleyTime);

    EXPECT_EQ(pauses, std::vector<uint32_t>{10});
    EXPECT_EQ(clockReadsAtPauses, std::vector<int>{0}) << "the pause comes first";
    reference.Skip(4000);
    const int pick = reference.Next() % 20;
    const int x = reference.Next() % 1200;
    const int y = 600 + reference.Next() % 100;
    const int burstY = reference.Next() % 400;
    reference.Next();  // the arriving launcher's delay
    ExpectSameNextRandom(reference);
    const Launcher& launched = launchers[pick];
    EXPECT_EQ(launched.x, x) << "the launch draws its numbers after the darkening";
    EXPECT_EQ(launched.burstY, burstY);
    EXPECT_EQ(launched.y, y - 5) << "the new launcher takes its first step in the same frame";
    EXPECT_EQ(launched.frameIndex, 1);
    EXPECT_EQ(fireworks[0].radius, 1) << "the arriving launcher's burst starts in the same frame";
    EXPECT_EQ(ScreenAt(111, 300), kRingPixel);
    EXPECT_EQ(ScreenAt(darkened.x, darkened.y), kRingPixel) << "the ring comes after the darkening";
    EXPECT_EQ(ScreenAt(darkened.x + 1, darkened.y), 0u);

    fakeNow += 20000;
    PlayFrame(Screen(), lastLaunchTime, lastVolleyTime);
    EXPECT_EQ(lastVolleyTime, fakeNow);
    EXPECT_EQ(ScreenAt(112, 300), kRingPixel) << "the bursts step before the volley stops them";
    EXPECT_EQ(ScreenAt(darkened.x + 1, darkened.y), kRingPixel);
    for (int i = 0; i < FireworkCount; ++i) {
        EXPECT_EQ(launchers[i].y, launchers[i].burstY + 750) << "the volley rises from the next frame on";
        EXPECT_EQ(fireworks[i].bursting, 0);
    }
}

TEST_F(FrameLoopTest, FramesRunUntilAKeyIsWaiting)
{
    static int polls;
    SetShowInput([] { return ++polls > 3 ? 1 : 0; }, nullptr);
    uint32_t lastLaunchTime = fakeNow;
    uint32_t lastVolleyTime = fakeNow;
    polls = 0;
    PlayShow(Screen(), lastLaunchTime, lastVolleyTime);
    EXPECT_EQ(polls, 4);
    EXPECT_EQ(pauses.size(), 3u);

    // A key waiting before the first frame: no frame at all.
    pauses.clear();
    PlayShow(Screen(), lastLaunchTime, lastVolleyTime);
    EXPECT_EQ(polls, 5);
    EXPECT_EQ(pauses.size(), 0u);
}

TEST(ShowClock, NullGivesBackTheSystemClock)
{
    SetShowClock(FakeClock);
    fakeNow = 0;
    SetShowClock(nullptr);
    const uint32_t before = timeGetTime();
    const uint32_t shown = ShowClock();
    EXPECT_LE(shown - before, timeGetTime() - before);
}

}  // namespace
