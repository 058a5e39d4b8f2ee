#pragma once
// The game's pseudo-random numbers. Questions reseed the generator several
// times each; a reseed mixes the value into the current state, so two
// reseeds with the same value are still followed by different draws.

#include <cstdint>

namespace quimbra {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Uniform, 0 <= r < 1, whatever the generator behind it returns: the
    // question kinds are Int(8r + 1), and an r of 1 would ask for a ninth.
    float next();
    // Mixes value into the current state.
    virtual void reseed(double value) = 0;

  protected:
    // The generator's own draw, meant to lie in 0 <= r < 1.
    virtual float draw() = 0;
};

// A small, fast generator (SplitMix64 stepping, 24-bit floats) whose reseed
// folds the value's bits into the state instead of replacing it.
class MixingRandom final : public RandomSource {
  public:
    explicit MixingRandom(std::uint64_t seed = 0x5eed5eedULL) : state_(seed) {}
    void reseed(double value) override;

  protected:
    float draw() override;

  private:
    std::uint64_t step();
    std::uint64_t state_;
};

}  // namespace quimbra
