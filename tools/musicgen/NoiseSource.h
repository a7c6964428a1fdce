// Seeded white noise. Every noisy sound is seeded from its own event, so a
// hit sounds the same in every cycle of the loop and on every run; std::
// distributions are avoided because their output differs between libraries.
#pragma once

#include <cstdint>

class NoiseSource {
public:
    explicit NoiseSource(std::uint64_t seed) : state(scramble(seed)) {}

    // Uniform in [-1, 1).
    double next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }

private:
    // Spreads nearby seeds (event indices) far apart; xorshift must never
    // start from zero.
    static std::uint64_t scramble(std::uint64_t x) {
        x += 0x9E3779B97F4A7C15ull;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        x ^= x >> 31;
        return x != 0 ? x : 0x2545F4914F6CDD1Dull;
    }

    std::uint64_t state;
};
