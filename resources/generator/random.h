#pragma once
// A small deterministic generator (splitmix64 seeding, xoshiro256** stepping),
// so that the media come out byte for byte the same on every machine.

#include <cstdint>

namespace media {

class Random {
public:
    // The loop fills every word of the state.
    // cppcheck-suppress uninitMemberVar
    explicit Random(std::uint64_t seed)
    {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t Next()
    {
        const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
        const std::uint64_t shifted = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= shifted;
        state_[3] = RotateLeft(state_[3], 45);
        return result;
    }

    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    double Range(double low, double high) { return low + (high - low) * Unit(); }

    // Uniform integer in [0, count).
    int Below(int count) { return static_cast<int>(Unit() * count); }

    bool Chance(double probability) { return Unit() < probability; }

    // Roughly normal (sum of four uniforms), mean 0, standard deviation 1.
    double Gaussian()
    {
        double sum = -2.0;
        for (int i = 0; i < 4; ++i) {
            sum += Unit();
        }
        return sum * 1.7320508075688772;
    }

private:
    static std::uint64_t RotateLeft(std::uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

    std::uint64_t state_[4];
};

}  // namespace media
