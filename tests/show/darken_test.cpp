#include "darken.h"

#include <cstdlib>

#include "show_test_support.h"

namespace {

constexpr uint32_t kLit = 0x00FFFFFFu;
constexpr int kPixelCount = kScreenWidth * kScreenHeight;

struct Attempt {
    int x;
    int y;
};

std::vector<Attempt> ReferenceAttempts(ReferenceRand& reference)
{
    std::vector<Attempt> attempts;
    for (int i = 0; i < 2000; ++i) {
        const int x = reference.Next() % 1200;
        const int y = reference.Next() % 800;
        attempts.push_back({x, y});
    }
    return attempts;
}

// A seed whose frame both draws row 799 and hits the last column above it.
uint32_t SeedWithEdgeAttempts()
{
    for (uint32_t seed = 1;; ++seed) {
        ReferenceRand probe(seed);
        bool lastRow = false;
        bool lastColumn = false;
        for (const Attempt& attempt : ReferenceAttempts(probe)) {
            lastRow = lastRow || attempt.y == 799;
            lastColumn = lastColumn || (attempt.x == 1199 && attempt.y < 799);
        }
        if (lastRow && lastColumn) return seed;
    }
}

// The model covers attempts on row 799 (nothing written) and at column 1199
// (the second pixel opens the next row).
TEST(Darken, TwoThousandAttemptsDrawXThenYAndBlackOutPixelPairs)
{
    const uint32_t seed = SeedWithEdgeAttempts();
    // One lit guard pixel after the screen catches a write past its end.
    std::vector<uint32_t> pixels(kPixelCount + 1, kLit);
    std::vector<uint32_t> model(kPixelCount, kLit);
    ReferenceRand reference = SeedBoth(seed);
    ReferenceRand modelGenerator(seed);
    for (const Attempt& attempt : ReferenceAttempts(modelGenerator)) {
        if (attempt.y == 799) continue;
        model[attempt.y * 1200 + attempt.x] = 0;
        if (attempt.x < 1199) {
            model[attempt.y * 1200 + attempt.x + 1] = 0;
        } else {
            model[(attempt.y + 1) * 1200] = 0;
        }
    }

    DarkenRandomPixels(pixels.data());

    reference.Skip(4000);
    ExpectSameNextRandom(reference);
    EXPECT_EQ(CompareScreen(pixels.data(), model), "");
    EXPECT_EQ(pixels[kPixelCount], kLit);
}

}  // namespace
