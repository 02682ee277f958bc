// The burst strip as the show will see it: decoded, then judged by the
// renderer's rule that only pixels with red, green and blue all above 32 show.
#include <cmath>

#include <gtest/gtest.h>

#include "burst_layout.h"
#include "media_files.h"

namespace {

using media::kBurstCount;
using media::kCellSize;
using media::kMaxRadius;
using media::kSourceCenterX;
using media::kSourceCenterY;

bool Shows(const std::uint8_t* p)
{
    return p[0] > media::kVisibleThreshold && p[1] > media::kVisibleThreshold && p[2] > media::kVisibleThreshold;
}

class BurstStripTest : public testing::Test {
protected:
    static void SetUpTestSuite() { strip_ = media_test::DecodeJpeg(media_test::ReadMedia("bursts.jpg")); }

    static const std::uint8_t* Pixel(int cell, int x, int y) { return strip_.At(cell * kCellSize + x, y); }

    static double Distance(int cell, int x, int y)
    {
        return std::hypot(x - kSourceCenterX[cell], y - kSourceCenterY[cell]);
    }

    static media_test::DecodedImage strip_;
};

media_test::DecodedImage BurstStripTest::strip_;

TEST_F(BurstStripTest, DecodesToThirteenCellsInColour)
{
    EXPECT_EQ(strip_.width, kBurstCount * kCellSize);
    EXPECT_EQ(strip_.height, kCellSize);
    EXPECT_EQ(strip_.components, 3);
}

TEST_F(BurstStripTest, EveryBurstShowsAroundItsCentre)
{
    for (int cell = 0; cell < kBurstCount; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        const int revealed = kMaxRadius[cell] - 2;
        int area = 0, shown = 0, core = 0;
        int quadrants[4] = {};
        double sumX = 0, sumY = 0;
        for (int y = 0; y < kCellSize; ++y) {
            for (int x = 0; x < kCellSize; ++x) {
                const double d = Distance(cell, x, y);
                if (d > revealed) {
                    continue;
                }
                ++area;
                if (!Shows(Pixel(cell, x, y))) {
                    continue;
                }
                ++shown;
                sumX += x;
                sumY += y;
                core += d <= 6 ? 1 : 0;
                const int dx = x - kSourceCenterX[cell], dy = y - kSourceCenterY[cell];
                if (d > 20) {
                    ++quadrants[(dx >= 0 ? 0 : 1) + (dy >= 0 ? 0 : 2)];
                }
            }
        }
        ASSERT_GT(shown, 0);
        EXPECT_GT(static_cast<double>(shown) / area, 0.10) << shown << " of " << area;
        EXPECT_GE(core, 100) << "a bright core at the centre";
        for (int q = 0; q < 4; ++q) {
            EXPECT_GT(quadrants[q], 300) << "quadrant " << q;
        }
        // Gravity pulls the light down, willows most, but it stays around the burst centre.
        const double offset = std::hypot(sumX / shown - kSourceCenterX[cell], sumY / shown - kSourceCenterY[cell]);
        EXPECT_LT(offset, 0.3 * revealed);
    }
}

TEST_F(BurstStripTest, SkyNeverShowsWhicheverWayItIsDecoded)
{
    const media_test::DecodedImage roughly = media_test::DecodeJpeg(media_test::ReadMedia("bursts.jpg"), false);
    for (int cell = 0; cell < kBurstCount; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        int shownOutside = 0, brightSky = 0, litRim = 0;
        for (int y = 0; y < kCellSize; ++y) {
            for (int x = 0; x < kCellSize; ++x) {
                const bool nearBorder = x < 3 || y < 3 || x >= kCellSize - 3 || y >= kCellSize - 3;
                const double d = Distance(cell, x, y);
                const std::uint8_t* p = Pixel(cell, x, y);
                const bool sky = nearBorder || d > kMaxRadius[cell] - 2;
                if (sky && (Shows(p) || Shows(roughly.At(cell * kCellSize + x, y)))) {
                    ++shownOutside;
                }
                if (d > kMaxRadius[cell] && std::max({p[0], p[1], p[2]}) > 20) {
                    ++brightSky;
                }
                // The last ring that the renderer reveals has faded to sky.
                if (d > kMaxRadius[cell] - 3 && std::max({p[0], p[1], p[2]}) > media::kVisibleThreshold) {
                    ++litRim;
                }
            }
        }
        EXPECT_EQ(shownOutside, 0) << "sky pixels that the renderer would copy";
        EXPECT_EQ(brightSky, 0) << "sky pixels brighter than a night sky";
        EXPECT_EQ(litRim, 0) << "light cut off at the edge of the revealed disc";
    }
}

TEST_F(BurstStripTest, BurstsDifferFromEachOther)
{
    for (int a = 0; a < kBurstCount; ++a) {
        for (int b = a + 1; b < kBurstCount; ++b) {
            double difference = 0;
            for (int y = 0; y < kCellSize; ++y) {
                for (int x = 0; x < kCellSize; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        difference += std::abs(Pixel(a, x, y)[c] - Pixel(b, x, y)[c]);
                    }
                }
            }
            EXPECT_GT(difference / (kCellSize * kCellSize * 3), 12.0) << "cells " << a << " and " << b;
        }
    }
}

}  // namespace
