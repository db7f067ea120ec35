// Where every chance event of the model comes from. The procedures are
// templates over the source so that tests can script exact values of u and
// the program's own source costs no indirect call.
#pragma once

#include "error.h"

#include <concepts>
#include <cstdint>

namespace bocavo {

// Anything that yields the next value u of a uniform sequence on [0, 1).
template <typename S>
concept UniformSource = requires(S& s) {
    { s.next() } -> std::same_as<float>;
};

// splitmix64 (Vigna): advances x and returns a well-mixed value of it, so that
// neighbouring seeds give unrelated states.
constexpr std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// The seed of class n (1-based) of a run of seed `seed`: the seed itself for
// class 1, a well-mixed value of (seed, n) for the others, so that neighbouring
// classes and seeds get unrelated sources. The laboratory's classes and the
// classroom program's groups start from it alike: group K of seed S draws what
// class K of seed S draws.
constexpr std::uint32_t classSeed(std::uint32_t seed, int classNumber) {
    if (classNumber == 1)
        return seed;
    auto key = (std::uint64_t{seed} << 32) | static_cast<std::uint32_t>(classNumber);
    return static_cast<std::uint32_t>(splitmix64(key) >> 32);
}

// xoshiro128** (Blackman and Vigna), period 2^128 − 1, started from a fixed
// state that splitmix64 spreads from one seed. It is written out here rather
// than taken from <random> so that the sequence is the same with every
// compiler and library, and because a generation draws about a hundred values:
// the generator is most of the model's cost.
class Source_Aleatoire {
public:
    static constexpr std::uint32_t kFixedSeed = 1993;

    Source_Aleatoire() : Source_Aleatoire(kFixedSeed) {}
    explicit Source_Aleatoire(std::uint32_t seed) {
        std::uint64_t x = seed;
        for (int i = 0; i < 4; i += 2) {
            const std::uint64_t z = splitmix64(x);
            state_[i] = static_cast<std::uint32_t>(z);
            state_[i + 1] = static_cast<std::uint32_t>(z >> 32);
        }
    }

    // The top 24 bits of one raw output, scaled by 2^-24: exact in a float,
    // and never 1.
    float next() { return static_cast<float>(raw() >> 8) * 0x1p-24f; }

    std::uint32_t raw() {
        const std::uint32_t result = rotl(state_[1] * 5u, 7) * 9u;
        const std::uint32_t t = state_[1] << 9;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 11);
        return result;
    }

private:
    static constexpr std::uint32_t rotl(std::uint32_t x, int k) {
        return (x << k) | (x >> (32 - k));
    }

    std::uint32_t state_[4];
};

// floor(N × u + 1) in double precision: u = 1 − 2^-24 gives N, whereas single
// precision would round 4u + 1 up to 5.
template <UniformSource S> inline std::int16_t Tirage(S& source, std::int16_t n) {
    if (n < 1)
        throwIndexError("Tirage", n, 1, INT16_MAX);
    const double t = static_cast<double>(n) * static_cast<double>(source.next()) + 1.0;
    // t >= 1, so truncation is the floor (and needs no call into libm).
    return static_cast<std::int16_t>(t);
}

} // namespace bocavo
