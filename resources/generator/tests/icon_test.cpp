// The icon file: sizes from 16 to 256, bitmaps and a PNG, transparent corners.
#include <set>
#include <utility>

#include <gtest/gtest.h>
#include <zlib.h>

#include "media_files.h"

namespace {

struct IconEntry {
    int size;
    std::uint32_t bytes;
    std::uint32_t offset;
};

std::vector<IconEntry> Entries(const media_test::Bytes& ico)
{
    std::vector<IconEntry> entries;
    const int count = static_cast<int>(media_test::U16(ico, 4));
    for (int i = 0; i < count; ++i) {
        const std::size_t at = 6 + 16 * static_cast<std::size_t>(i);
        const int size = ico.at(at) == 0 ? 256 : ico.at(at);
        entries.push_back({size, media_test::U32(ico, at + 8), media_test::U32(ico, at + 12)});
    }
    return entries;
}

TEST(IconTest, HoldsEverySizeFrom16To256)
{
    const media_test::Bytes ico = media_test::ReadMedia("fireworks.ico");
    EXPECT_EQ(media_test::U16(ico, 0), 0u);
    EXPECT_EQ(media_test::U16(ico, 2), 1u) << "an icon, not a cursor";
    std::set<int> sizes;
    for (const IconEntry& e : Entries(ico)) {
        SCOPED_TRACE("size " + std::to_string(e.size));
        sizes.insert(e.size);
        ASSERT_LE(e.offset + e.bytes, ico.size());
        if (e.size == 256) {
            EXPECT_EQ(media_test::Text(ico, e.offset + 1, 3), "PNG");
            EXPECT_EQ(media_test::Text(ico, e.offset + 12, 4), "IHDR");
            continue;
        }
        EXPECT_EQ(media_test::U32(ico, e.offset), 40u);
        EXPECT_EQ(media_test::S32(ico, e.offset + 4), e.size);
        EXPECT_EQ(media_test::S32(ico, e.offset + 8), 2 * e.size) << "colour and mask";
        EXPECT_EQ(media_test::U16(ico, e.offset + 14), 32u);
        const int maskRow = ((e.size + 31) / 32) * 4;
        EXPECT_EQ(e.bytes, 40u + static_cast<std::uint32_t>(e.size * e.size * 4 + maskRow * e.size));
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));
}

// The mask marks exactly the transparent pixels, for systems that draw with it.
TEST(IconTest, ThirtyTwoPixelIconIsOpaqueInsideWithTransparentCorners)
{
    const media_test::Bytes ico = media_test::ReadMedia("fireworks.ico");
    for (const IconEntry& e : Entries(ico)) {
        if (e.size != 32) {
            continue;
        }
        // Rows are stored bottom-up; the mask follows the colour rows, 4 bytes a row.
        auto alpha = [&](int x, int y) {
            return ico.at(e.offset + 40 + (static_cast<std::size_t>(31 - y) * 32 + x) * 4 + 3);
        };
        auto masked = [&](int x, int y) {
            return (ico.at(e.offset + 40 + 32 * 32 * 4 + static_cast<std::size_t>(31 - y) * 4 + x / 8) &
                    (0x80 >> (x % 8))) != 0;
        };
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{31, 31}}) {
            EXPECT_EQ(alpha(x, y), 0);
            EXPECT_TRUE(masked(x, y)) << x << "," << y;
        }
        EXPECT_EQ(alpha(16, 16), 255);
        EXPECT_FALSE(masked(16, 16));
        return;
    }
    FAIL() << "no 32 pixel image";
}

// PNG numbers are big-endian.
std::uint32_t U32BigEndian(const media_test::Bytes& bytes, std::size_t at)
{
    return (std::uint32_t{bytes.at(at)} << 24) | (std::uint32_t{bytes.at(at + 1)} << 16) |
           (std::uint32_t{bytes.at(at + 2)} << 8) | bytes.at(at + 3);
}

// Every chunk of the 256-pixel PNG ends with the checksum zlib computes over
// its type and data: a decoder that checks it (most do) refuses the picture.
TEST(IconTest, EveryPngChunkCarriesItsChecksum)
{
    const media_test::Bytes ico = media_test::ReadMedia("fireworks.ico");
    for (const IconEntry& e : Entries(ico)) {
        if (e.size != 256) continue;
        std::vector<std::string> types;
        std::size_t at = e.offset + 8;
        while (at + 12 <= e.offset + e.bytes) {
            const std::uint32_t length = U32BigEndian(ico, at);
            ASSERT_LE(at + 12 + length, e.offset + e.bytes);
            types.push_back(media_test::Text(ico, at + 4, 4));
            const uLong expected = crc32(crc32(0L, Z_NULL, 0), ico.data() + at + 4, 4 + length);
            const std::size_t crcAt = at + 8 + length;
            EXPECT_EQ(U32BigEndian(ico, crcAt), expected) << types.back() << " chunk";
            at = crcAt + 4;
        }
        ASSERT_FALSE(types.empty());
        EXPECT_EQ(types.front(), "IHDR");
        EXPECT_EQ(types.back(), "IEND");
        return;
    }
    FAIL() << "no 256 pixel image";
}

}  // namespace
