// Shared helpers of the show's tests: a model of the runtime's random
// generator, a settable clock and an off-screen stand-in for the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <tovax.h>

#include <cstdint>
#include <string>
#include <vector>

#include "records.h"
#include "screen.h"
#include "show_clock.h"
#include "show_input.h"

// The C runtime's rand: state * 214013 + 2531011, result bits 16 to 30.
class ReferenceRand {
public:
    explicit ReferenceRand(uint32_t seed) : state(seed) {}
    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    void Skip(int count)
    {
        for (int i = 0; i < count; ++i) Next();
    }

private:
    uint32_t state;
};

// Seeds both the runtime's generator and a reference copy.
ReferenceRand SeedBoth(uint32_t seed);

// Proves that the runtime's generator stands where the reference does: the
// next value of both must agree (and both advance by one).
void ExpectSameNextRandom(ReferenceRand& reference);

// The clock the show reads during a test.
extern uint32_t fakeNow;
extern int clockReads;
uint32_t FakeClock();

// The pauses the show asked for, with the count of clock reads before each.
extern std::vector<uint32_t> pauses;
extern std::vector<int> clockReadsAtPauses;

// Fixture: installs the fake clock and pause, puts all thirteen pairs into the idle
// state with sprite frames of known colours, and draws on an off-screen
// 1200 x 800 image instead of the window's back buffer. The image starts with
// a pattern, on which copying, or-ing and exclusive-or of a sprite all differ.
class ShowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    uint32_t* Screen() { return GetPixelBuffer(&screen); }
    uint32_t ScreenAt(int x, int y) { return Screen()[y * kScreenWidth + x]; }

    IMAGE screen{kScreenWidth, kScreenHeight};
};

// The pattern the fixture's screen starts with.
std::vector<uint32_t> Background();

constexpr int kSpriteWidth = 20;
constexpr int kSpriteHeight = 50;

// Colour of every pixel of frame `frame` of launcher `launcher`; unique per
// frame, so the screen tells which frame of which launcher is drawn.
uint32_t SpritePixel(int launcher, int frame);

// Exclusive-or of a solid sprite into a model of the screen, clipped to it.
void XorSprite(std::vector<uint32_t>& model, int x, int y, uint32_t value);

// Empty when the screen equals the model, otherwise the count of differing
// pixels and the first of them.
std::string CompareScreen(const uint32_t* actual, const std::vector<uint32_t>& model);
