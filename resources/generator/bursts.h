#pragma once
// The thirteen burst photographs, side by side in one strip.

#include <vector>

#include "canvas.h"

namespace media {

// The whole strip, kStripWidth x kStripHeight, rows from the top.
std::vector<Rgb8> PaintBurstStrip();

// One 240 x 240 cell, rows from the top.
std::vector<Rgb8> PaintBurst(int index);

}  // namespace media
