#pragma once
// The background music: the old tune of friendship, arranged twice through
// (bells and harp, then horn, strings and sleigh bells), as a seamless loop.

#include <cstdint>
#include <vector>

namespace media {

constexpr int kMusicChannels = 2;

// Interleaved stereo 16-bit frames at kSampleRate; the last frame leads
// straight into the first.
std::vector<std::int16_t> ComposeMusic();

}  // namespace media
