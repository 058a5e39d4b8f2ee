#pragma once
// A RandomSource for tests: replays a fixed list of draws and records every
// draw and reseed in order, so a test can assert the exact sequence of calls
// a rule makes. Running out of draws throws, so a loop that keeps drawing
// fails the test instead of hanging it.

#include <cmath>
#include <cstddef>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/random_source.h"

namespace quimbra::testing {

// The draw r for which Int(scale * r) is value: the middle of its interval.
inline float drawFor(int value, int scale) {
    return (static_cast<float>(value) + 0.5F) / static_cast<float>(scale);
}

class ScriptedRandom final : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<float> draws = {}) : draws_(std::move(draws)) {}

    float draw() override {
        if (nextDraw_ >= draws_.size()) {
            throw std::runtime_error("script exhausted after " + std::to_string(draws_.size()) +
                                     " draws");
        }
        steps_.emplace_back("draw");
        return draws_[nextDraw_++];
    }

    void reseed(double value) override {
        std::ostringstream text;
        if (value == std::floor(value) && std::fabs(value) < 1e15) {
            text << static_cast<long long>(value);
        } else {
            text << value;
        }
        steps_.push_back("reseed " + text.str());
    }

    // Every call so far: "draw" or "reseed <value>".
    const std::vector<std::string>& steps() const { return steps_; }
    std::size_t drawsLeft() const { return draws_.size() - nextDraw_; }

  private:
    std::vector<float> draws_;
    std::size_t nextDraw_ = 0;
    std::vector<std::string> steps_;
};

}  // namespace quimbra::testing
