#pragma once
// The launcher sprites: ten 20 x 50 rockets side by side on black, five dim
// ones followed by the same five bright.

#include <vector>

#include "canvas.h"

namespace media {

constexpr int kRocketWidth = 20;
constexpr int kRocketHeight = 50;
constexpr int kRocketColours = 5;
constexpr int kRocketSheetWidth = kRocketWidth * kRocketColours * 2;

// The sheet, rows from the top.
std::vector<Rgb8> PaintRocketSheet();

}  // namespace media
