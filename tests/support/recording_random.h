#pragma once
// The game's own generator, with every reseed value logged.

#include <vector>

#include "game/random_source.h"

namespace quimbra::testing {

class RecordingRandom : public RandomSource {
  public:
    float draw() override {
        ++draws;
        return inner.next();
    }
    void reseed(double value) override {
        reseeds.push_back({value, draws});
        inner.reseed(value);
    }

    struct Reseed {
        double value;
        int drawsBefore;
    };
    MixingRandom inner;
    std::vector<Reseed> reseeds;
    int draws = 0;
};

}  // namespace quimbra::testing
