#pragma once
// PNG files, 8-bit RGBA, with stored (uncompressed) deflate blocks.

#include <cstdint>
#include <vector>

#include "byte_writer.h"

namespace media {

struct Rgba8 {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// `pixels` holds rows from the top.
Bytes EncodePng(const std::vector<Rgba8>& pixels, int width, int height);

}  // namespace media
