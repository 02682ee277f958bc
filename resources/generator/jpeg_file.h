#pragma once
// Baseline JFIF 1.01 encoding: luminance sampled 2 x 2, chroma 1 x 1, 96 dpi.

#include <vector>

#include "byte_writer.h"
#include "canvas.h"

namespace media {

Bytes EncodeJpeg(const std::vector<Rgb8>& pixels, int width, int height, int quality);

}  // namespace media
