#pragma once
// The game's pseudo-random numbers. Questions reseed the generator several
// times each; a reseed mixes the value into the current state, so two
// reseeds with the same value are still followed by different draws.

#include <cstdint>

namespace quimbra {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform, 0 <= r < 1.
    virtual float next() = 0;
    // Mixes value into the current state.
    virtual void reseed(double value) = 0;
};

// A small, fast generator (SplitMix64 stepping, 24-bit floats) whose reseed
// folds the value's bits into the state instead of replacing it.
class MixingRandom final : public RandomSource {
public:
    explicit MixingRandom(std::uint64_t seed = 0x5eed5eedULL) : state_(seed) {}
    float next() override;
    void reseed(double value) override;

private:
    std::uint64_t step();
    std::uint64_t state_;
};

}  // namespace quimbra
