#pragma once
// The two short sounds of the resource set: a launch and a burst.

#include <cstdint>
#include <vector>

namespace media {

constexpr int kLaunchSampleRate = 22050;
constexpr int kLaunchSamples = 82368;   // mono, 8-bit
constexpr int kCrackleFrames = 155520;  // stereo, 16-bit, at kSampleRate

// A rocket leaving its tube and hissing away: unsigned 8-bit mono samples.
std::vector<std::uint8_t> LaunchWhoosh();

// A shell bursting with a crackle of stars: interleaved stereo 16-bit frames.
std::vector<std::int16_t> BurstCrackle();

}  // namespace media
