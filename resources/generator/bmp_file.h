#pragma once
// Windows bitmap files: 24 bits per pixel, uncompressed, rows bottom-up.

#include <vector>

#include "byte_writer.h"
#include "canvas.h"

namespace media {

// `pixels` holds rows from the top; the file stores them from the bottom.
Bytes EncodeBmp(const std::vector<Rgb8>& pixels, int width, int height);

}  // namespace media
