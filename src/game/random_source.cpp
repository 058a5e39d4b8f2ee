#include "game/random_source.h"

#include <bit>
#include <cmath>

namespace quimbra {

std::uint64_t MixingRandom::step() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

float RandomSource::next() {
    const float r = draw();
    // Anything outside [0, 1), NaN included, is folded back into it.
    if (!(r >= 0.0F)) {
        return 0.0F;
    }
    return r < 1.0F ? r : std::nextafter(1.0F, 0.0F);
}

float MixingRandom::draw() {
    // 24 random bits fill a float's mantissa exactly, so the result is never 1.
    return static_cast<float>(step() >> 40) * (1.0F / 16777216.0F);
}

void MixingRandom::reseed(double value) {
    state_ ^= std::bit_cast<std::uint64_t>(value) * 0xD6E8FEB86659FD93ULL;
    step();
}

}  // namespace quimbra
