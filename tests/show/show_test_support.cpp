#include "show_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

uint32_t fakeNow = 0;
int clockReads = 0;

std::vector<uint32_t> pauses;
std::vector<int> clockReadsAtPauses;

uint32_t FakeClock()
{
    ++clockReads;
    return fakeNow;
}

namespace {

void RecordPause(uint32_t milliseconds)
{
    pauses.push_back(milliseconds);
    clockReadsAtPauses.push_back(clockReads);
}

}  // namespace

ReferenceRand SeedBoth(uint32_t seed)
{
    srand(seed);
    return ReferenceRand(seed);
}

void ExpectSameNextRandom(ReferenceRand& reference)
{
    EXPECT_EQ(rand(), reference.Next()) << "the code drew a different number of random values";
}

uint32_t SpritePixel(int launcher, int frame)
{
    return 0x00100000u * static_cast<uint32_t>(launcher + 1) + 0x00000100u * static_cast<uint32_t>(frame + 1) + 0x11u;
}

void XorSprite(std::vector<uint32_t>& model, int x, int y, uint32_t value)
{
    for (int row = y; row < y + kSpriteHeight; ++row) {
        for (int column = x; column < x + kSpriteWidth; ++column) {
            if (row >= 0 && row < kScreenHeight && column >= 0 && column < kScreenWidth) {
                model[row * kScreenWidth + column] ^= value;
            }
        }
    }
}

std::string CompareScreen(const uint32_t* actual, const std::vector<uint32_t>& model)
{
    int differences = 0;
    std::ostringstream first;
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
        if (actual[i] != model[i]) {
            if (differences == 0) {
                first << std::hex << " first at (" << std::dec << i % kScreenWidth << ", " << i / kScreenWidth
                      << "): 0x" << std::hex << actual[i] << " instead of 0x" << model[i];
            }
            ++differences;
        }
    }
    if (differences == 0) return std::string();
    return std::to_string(differences) + " pixels differ;" + first.str();
}

std::vector<uint32_t> Background()
{
    std::vector<uint32_t> pixels(kScreenWidth * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            pixels[y * kScreenWidth + x] =
                (static_cast<uint32_t>(x) * 0x010305u + static_cast<uint32_t>(y) * 0x070503u) & 0x00FFFFFFu;
        }
    }
    return pixels;
}

void ShowTest::SetUp()
{
    fakeNow = 1000;
    clockReads = 0;
    SetShowClock(FakeClock);
    pauses.clear();
    clockReadsAtPauses.clear();
    SetShowSleep(RecordPause);
    SelectTarget(&screen);
    const std::vector<uint32_t> background = Background();
    std::copy(background.begin(), background.end(), Screen());
    for (int i = 0; i < FireworkCount; ++i) {
        InitFirework(i);
        fireworks[i].ringPending = 0;
        for (int frame = 0; frame < 2; ++frame) {
            IMAGE& image = launchers[i].frames[frame];
            image.Resize(kSpriteWidth, kSpriteHeight);
            uint32_t* pixels = GetPixelBuffer(&image);
            std::fill(pixels, pixels + kSpriteWidth * kSpriteHeight, SpritePixel(i, frame));
        }
    }
    clockReads = 0;
}

void ShowTest::TearDown()
{
    SelectTarget(nullptr);
    SetShowClock(nullptr);
    SetShowSleep(nullptr);
    SetShowInput(nullptr, nullptr);
}
