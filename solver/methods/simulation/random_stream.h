// The simulator's random numbers: xoshiro256** (Blackman and Vigna, 2018),
// seeded through splitmix64 so that any 64-bit seed gives a well-mixed
// state. Period 2^256 - 1; a few nanoseconds per number.
#pragma once

#include <cmath>
#include <cstdint>

namespace kolt::methods {

class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed) {
        for (std::uint64_t& word : s_) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

    // Uniform on [0, 1), 53 random bits.
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Uniform on (0, 1]: never 0, so its logarithm is finite.
    double positiveUniform() { return static_cast<double>((next() >> 11) + 1) * 0x1.0p-53; }
    double exponential(double mean) { return -mean * std::log(positiveUniform()); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

}  // namespace kolt::methods
