#pragma once
// A stereo mix that wraps around its end, so that a piece rendered into it
// loops without a seam: whatever rings past the end sounds at the start.

#include <cstdint>
#include <vector>

namespace media {

class LoopMix {
public:
    explicit LoopMix(std::int64_t frames);

    std::int64_t Frames() const { return frames_; }

    // Adds a mono sound from `start` on, panned from -1 (left) to +1 (right).
    void Place(const std::vector<double>& sound, std::int64_t start, double pan, double gain);
    // Adds a sound already in stereo.
    void PlaceStereo(const std::vector<double>& left, const std::vector<double>& right, std::int64_t start,
                     double gain);
    // Adds `other` scaled by `gain`.
    void Add(const LoopMix& other, double gain);

    std::vector<double>& Left() { return left_; }
    std::vector<double>& Right() { return right_; }
    const std::vector<double>& Left() const { return left_; }
    const std::vector<double>& Right() const { return right_; }

private:
    std::int64_t Wrap(std::int64_t frame) const;

    std::int64_t frames_;
    std::vector<double> left_;
    std::vector<double> right_;
};

// A hall reverb of the mix, as it sounds when the loop repeats forever.
LoopMix Reverberate(const LoopMix& send, double roomSize, double damping);

}  // namespace media
