#pragma once
// Where each burst sits in the strip: the show reveals cell i around
// (kSourceCenterX[i], kSourceCenterY[i]) out to kMaxRadius[i] - 2.

namespace media {

constexpr int kBurstCount = 13;
constexpr int kCellSize = 240;
constexpr int kStripWidth = kBurstCount * kCellSize;
constexpr int kStripHeight = kCellSize;

constexpr int kMaxRadius[kBurstCount] = {120, 120, 155, 123, 130, 147, 138, 138, 130, 135, 140, 132, 155};
constexpr int kSourceCenterX[kBurstCount] = {120, 120, 110, 117, 110, 93, 102, 102, 110, 105, 100, 108, 110};
constexpr int kSourceCenterY[kBurstCount] = {120, 120, 85, 118, 120, 103, 105, 110, 110, 120, 120, 104, 85};

// The renderer copies a pixel only when red, green and blue all exceed this.
constexpr int kVisibleThreshold = 32;

}  // namespace media
