// The looping mix: what rings past the end of the loop sounds at its start.
#include <cstdint>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "mix_bus.h"

namespace {

constexpr std::int64_t kFrames = 20000;

double Energy(const std::vector<double>& samples, std::int64_t from, std::int64_t count)
{
    return std::inner_product(samples.begin() + from, samples.begin() + from + count, samples.begin() + from, 0.0);
}

TEST(LoopMixTest, ASoundPlacedAcrossTheEndGoesOnAtTheStart)
{
    media::LoopMix mix(kFrames);
    mix.Place(std::vector<double>(300, 1.0), kFrames - 100, 0.0, 1.0);
    mix.PlaceStereo(std::vector<double>(50, 0.5), std::vector<double>(50, 0.25), -10, 2.0);
    // Centred: both sides at the same level, with no loss of power.
    EXPECT_NEAR(mix.Left()[kFrames - 100], 1.0, 1e-12);
    EXPECT_NEAR(mix.Right()[kFrames - 50], 1.0, 1e-12);
    EXPECT_NEAR(mix.Left()[199], 1.0, 1e-12);
    EXPECT_EQ(mix.Left()[200], 0.0);
    EXPECT_EQ(mix.Left()[kFrames - 101], 0.0);
    // The stereo sound started 10 frames before the end.
    EXPECT_NEAR(mix.Left()[kFrames - 10], 2.0, 1e-12);
    EXPECT_NEAR(mix.Right()[kFrames - 10], 1.5, 1e-12);
    EXPECT_NEAR(mix.Right()[39], 1.5, 1e-12);
    EXPECT_NEAR(mix.Right()[40], 1.0, 1e-12);
}

TEST(LoopMixTest, TheReverbOfASoundAtTheEndRingsOnAtTheStart)
{
    media::LoopMix send(kFrames);
    send.Place(std::vector<double>(10, 1.0), kFrames - 500, 0.0, 1.0);
    const media::LoopMix wet = media::Reverberate(send, 0.86, 0.3);
    for (const std::vector<double>* side : {&wet.Left(), &wet.Right()}) {
        const double total = Energy(*side, 0, kFrames);
        ASSERT_GT(total, 0.0);
        // The echoes come in from 1,116 frames after the click on, past the
        // end: most of them sound in the loop's first quarter second...
        EXPECT_GT(Energy(*side, 0, 5000), total * 0.5);
        // ...and fade, so the frames just before the click hear little.
        EXPECT_LT(Energy(*side, kFrames - 5000, 4500), total * 0.1);
    }
}

}  // namespace
