// The music and the two short sounds: format, level, and the seamless loop.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "media_files.h"

namespace {

using media_test::ParseWave;
using media_test::ReadMedia;
using media_test::Wave;

// -1 dBFS of a 16-bit sample.
constexpr int kHeadroomLimit = 29204;

double Rms(const std::vector<int>& samples, std::size_t from, std::size_t count)
{
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return std::sqrt(sum / count);
}

class MusicTest : public testing::Test {
protected:
    static void SetUpTestSuite() { music_ = ParseWave(ReadMedia("music.wav")); }
    static Wave music_;
};

Wave MusicTest::music_;

TEST_F(MusicTest, IsStereo16BitPcmOfAMinuteOrMoreWithTitleAndArtist)
{
    EXPECT_EQ(music_.form, "WAVE");
    const media_test::Bytes& fmt = music_.chunks.at("fmt ");
    EXPECT_EQ(media_test::U16(fmt, 0), 1u) << "PCM";
    EXPECT_EQ(music_.Channels(), 2);
    EXPECT_EQ(music_.SampleRate(), 44100);
    EXPECT_EQ(media_test::U32(fmt, 8), 44100u * 4);
    EXPECT_EQ(media_test::U16(fmt, 12), 4u);
    EXPECT_EQ(music_.BitsPerSample(), 16);
    const std::size_t bytes = music_.chunks.at("data").size();
    EXPECT_EQ(bytes % 4, 0u);
    EXPECT_GE(bytes / 4, 60u * 44100);
    EXPECT_LE(bytes / 4, 90u * 44100);
    EXPECT_FALSE(music_.info["INAM"].empty());
    EXPECT_FALSE(music_.info["IART"].empty());
}

TEST_F(MusicTest, PeaksAtMostAtMinusOneDecibelWithoutClipping)
{
    for (int c = 0; c < 2; ++c) {
        const std::vector<int> samples = music_.Channel16(c);
        int peak = 0;
        for (int s : samples) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_LE(peak, kHeadroomLimit) << "channel " << c;
        EXPECT_GE(peak, kHeadroomLimit / 2) << "channel " << c << " is too quiet";
    }
}

TEST_F(MusicTest, LoopWrapsWithoutAJumpOrAGap)
{
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE("channel " + std::to_string(c));
        const std::vector<int> samples = music_.Channel16(c);
        std::vector<int> steps(samples.size() - 1);
        for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
            steps[i] = std::abs(samples[i + 1] - samples[i]);
        }
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
        const int ordinaryStep = steps[steps.size() * 999 / 1000];
        EXPECT_LE(std::abs(samples.front() - samples.back()), ordinaryStep);
        // No fade to silence around the wrap: the music plays straight through.
        const std::size_t halfSecond = 22050;
        const double overall = Rms(samples, 0, samples.size());
        EXPECT_GT(Rms(samples, 0, halfSecond), overall * 0.2);
        EXPECT_GT(Rms(samples, samples.size() - halfSecond, halfSecond), overall * 0.2);
    }
}

TEST_F(MusicTest, HasStereoSpace)
{
    const std::vector<int> left = music_.Channel16(0);
    const std::vector<int> right = music_.Channel16(1);
    double lr = 0, ll = 0, rr = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        lr += static_cast<double>(left[i]) * right[i];
        ll += static_cast<double>(left[i]) * left[i];
        rr += static_cast<double>(right[i]) * right[i];
    }
    const double correlation = lr / std::sqrt(ll * rr);
    EXPECT_GT(correlation, 0.3) << "one piece, not two";
    EXPECT_LT(correlation, 0.98) << "not mono";
    // The first pass leans right: its bells and sleigh bells stand right of centre.
    double firstLeft = 0, firstRight = 0;
    for (std::size_t i = 0; i < left.size() / 2; ++i) {
        firstLeft += static_cast<double>(left[i]) * left[i];
        firstRight += static_cast<double>(right[i]) * right[i];
    }
    EXPECT_LT(firstLeft / firstRight, 0.85) << "the instruments stand at their places";
}

TEST(ShortSoundsTest, LaunchIsEightBitMonoOf82368Samples)
{
    const Wave launch = ParseWave(ReadMedia("launch.wav"));
    EXPECT_EQ(media_test::U16(launch.chunks.at("fmt "), 0), 1u);
    EXPECT_EQ(launch.Channels(), 1);
    EXPECT_EQ(launch.SampleRate(), 22050);
    EXPECT_EQ(launch.BitsPerSample(), 8);
    const media_test::Bytes& data = launch.chunks.at("data");
    ASSERT_EQ(data.size(), 82368u);
    const auto [low, high] = std::minmax_element(data.begin(), data.end());
    EXPECT_GT(*low, 0) << "unsigned samples around 128, not clipped";
    EXPECT_LT(*high, 255);
    EXPECT_GT(*high - *low, 120) << "audible";
    EXPECT_NEAR(data.back(), 128, 3) << "ends in silence";
}

TEST(ShortSoundsTest, CrackleIsSixteenBitStereoOf622080BytesWithInfo)
{
    const Wave crackle = ParseWave(ReadMedia("crackle.wav"));
    EXPECT_EQ(crackle.Channels(), 2);
    EXPECT_EQ(crackle.SampleRate(), 44100);
    EXPECT_EQ(crackle.BitsPerSample(), 16);
    EXPECT_EQ(crackle.chunks.at("data").size(), 622080u);
    EXPECT_EQ(crackle.chunks.count("LIST"), 1u);
    EXPECT_FALSE(crackle.info.at("INAM").empty());
    for (int c = 0; c < 2; ++c) {
        const std::vector<int> samples = crackle.Channel16(c);
        int peak = 0;
        for (int s : samples) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_LE(peak, kHeadroomLimit);
        EXPECT_GT(peak, 8000);
        EXPECT_EQ(samples.back(), 0) << "ends in silence";
    }
}

}  // namespace
