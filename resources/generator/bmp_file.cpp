#include "bmp_file.h"

namespace media {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

}  // namespace

Bytes EncodeBmp(const std::vector<Rgb8>& pixels, int width, int height)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    Bytes out;
    PutText(out, "BM");
    PutU32(out, offset + imageBytes);
    PutU32(out, 0);
    PutU32(out, offset);

    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, 24);
    PutU32(out, 0);  // BI_RGB
    PutU32(out, imageBytes);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, 0);
    PutU32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        const Rgb8* row = pixels.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            PutU8(out, row[x].b);
            PutU8(out, row[x].g);
            PutU8(out, row[x].r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < rowBytes; ++pad) {
            PutU8(out, 0);
        }
    }
    return out;
}

}  // namespace media
