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
    double exponential(double mean) { return -mean * logarithm(positiveUniform()); }

    // Natural logarithm of x > 0 from the basic operations alone, which
    // IEEE arithmetic rounds the same everywhere: the system library picks
    // its logarithm by processor features, and a last bit that differs
    // between machines would send a run down another path. With
    // x = m 2^e, m in [sqrt(1/2), sqrt(2)) and s = (m-1)/(m+1),
    //   ln x = e ln 2 + 2 (s + s^3/3 + ... + s^21/21),
    // |s| < 0.172, so the first term left out is below 1e-17 of the result.
    static double logarithm(double x) {
        int e = 0;
        double m = std::frexp(x, &e);
        if (m < 0.70710678118654752) {
            m *= 2.0;
            --e;
        }
        const double s = (m - 1.0) / (m + 1.0);
        // 1 + z/3 + z^2/5 + ... + z^10/21 in z = s^2, by Estrin's scheme: a
        // few independent products instead of one long chain.
        const double z = s * s, z2 = z * z, z4 = z2 * z2, z8 = z4 * z4;
        const double series = (1.0 + z / 3.0) + z2 * (1.0 / 5.0 + z / 7.0) +
                              z4 * ((1.0 / 9.0 + z / 11.0) + z2 * (1.0 / 13.0 + z / 15.0)) +
                              z8 * ((1.0 / 17.0 + z / 19.0) + z2 / 21.0);
        constexpr double kLn2High = 6.93147180369123816490e-01, kLn2Low = 1.90821492927058770002e-10;
        return e * kLn2High + (e * kLn2Low + 2.0 * s * series);
    }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

}  // namespace kolt::methods
