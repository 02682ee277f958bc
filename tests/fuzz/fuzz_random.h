// The randomised test's own generator: xorshift64*, so that one seed gives the
// same operation sequences on every platform and standard library.
#pragma once

#include <cstddef>
#include <cstdint>

class FuzzRandom {
public:
    explicit FuzzRandom(uint64_t seed) : state(seed ? seed : 0x9E3779B97F4A7C15ull) {}

    uint64_t Next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }

    uint32_t Next32() { return static_cast<uint32_t>(Next() >> 32); }

    // Uniform in [0, bound); bound 0 gives 0.
    uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>((Next() >> 32) * bound >> 32) : 0; }

    // Uniform in [low, high], both included.
    int Between(int low, int high)
    {
        const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
        return static_cast<int>(static_cast<int64_t>(low) + static_cast<int64_t>((Next() >> 16) % span));
    }

    // True with the probability `perMille` / 1000.
    bool Chance(uint32_t perMille) { return Below(1000) < perMille; }

    template <typename T, size_t N>
    const T& Pick(const T (&values)[N])
    {
        return values[Below(static_cast<uint32_t>(N))];
    }

    uint64_t State() const { return state; }

private:
    uint64_t state;
};
