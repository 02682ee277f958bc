#include "mix_bus.h"

#include <cmath>

namespace media {

namespace {

class Comb {
public:
    explicit Comb(int length) : buffer_(length) {}

    double Process(double input, double feedback, double damping)
    {
        const double output = buffer_[index_];
        store_ = output * (1.0 - damping) + store_ * damping;
        buffer_[index_] = input + store_ * feedback;
        if (++index_ == buffer_.size()) {
            index_ = 0;
        }
        return output;
    }

private:
    std::vector<double> buffer_;
    std::size_t index_ = 0;
    double store_ = 0;
};

class AllPass {
public:
    explicit AllPass(int length) : buffer_(length) {}

    double Process(double input)
    {
        const double delayed = buffer_[index_];
        buffer_[index_] = input + delayed * 0.5;
        if (++index_ == buffer_.size()) {
            index_ = 0;
        }
        return delayed - input;
    }

private:
    std::vector<double> buffer_;
    std::size_t index_ = 0;
};

class ReverbChannel {
public:
    explicit ReverbChannel(int spread)
    {
        for (int length : {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617}) {
            combs_.emplace_back(length + spread);
        }
        for (int length : {556, 441, 341, 225}) {
            allPasses_.emplace_back(length + spread);
        }
    }

    double Process(double input, double feedback, double damping)
    {
        double sum = 0;
        for (Comb& comb : combs_) {
            sum += comb.Process(input, feedback, damping);
        }
        for (AllPass& pass : allPasses_) {
            sum = pass.Process(sum);
        }
        return sum;
    }

private:
    std::vector<Comb> combs_;
    std::vector<AllPass> allPasses_;
};

}  // namespace

LoopMix::LoopMix(std::int64_t frames) : frames_(frames), left_(frames), right_(frames) {}

std::int64_t LoopMix::Wrap(std::int64_t frame) const
{
    const std::int64_t wrapped = frame % frames_;
    return wrapped < 0 ? wrapped + frames_ : wrapped;
}

void LoopMix::Place(const std::vector<double>& sound, std::int64_t start, double pan, double gain)
{
    const double angle = (pan + 1.0) * 0.25 * 3.14159265358979323846;
    const double leftGain = gain * std::cos(angle) * std::sqrt(2.0);
    const double rightGain = gain * std::sin(angle) * std::sqrt(2.0);
    std::int64_t at = Wrap(start);
    for (double sample : sound) {
        left_[at] += sample * leftGain;
        right_[at] += sample * rightGain;
        if (++at == frames_) {
            at = 0;
        }
    }
}

void LoopMix::PlaceStereo(const std::vector<double>& left, const std::vector<double>& right, std::int64_t start,
                          double gain)
{
    std::int64_t at = Wrap(start);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left_[at] += left[i] * gain;
        right_[at] += right[i] * gain;
        if (++at == frames_) {
            at = 0;
        }
    }
}

void LoopMix::Add(const LoopMix& other, double gain)
{
    for (std::int64_t i = 0; i < frames_; ++i) {
        left_[i] += other.left_[i] * gain;
        right_[i] += other.right_[i] * gain;
    }
}

LoopMix Reverberate(const LoopMix& send, double roomSize, double damping)
{
    // Two rounds of the loop: the second hears the tail of the first, exactly
    // as every repetition after the first one does.
    ReverbChannel left(0);
    ReverbChannel right(23);
    LoopMix wet(send.Frames());
    for (int round = 0; round < 2; ++round) {
        for (std::int64_t i = 0; i < send.Frames(); ++i) {
            const double input = (send.Left()[i] + send.Right()[i]) * 0.015;
            const double l = left.Process(input, roomSize, damping);
            const double r = right.Process(input, roomSize, damping);
            if (round == 1) {
                wet.Left()[i] = l;
                wet.Right()[i] = r;
            }
        }
    }
    return wet;
}

}  // namespace media
