#pragma once
// The variables of one loaded game window. Everything is zero or empty when a
// window is created; the start-up and the first question set what is read.

#include <cstdint>
#include <string>

namespace quimbra {

struct GameState {
    std::int16_t base = 0;         // the right answer of the current question
    std::int16_t height = 0;       // base x numerator / denominator, shown as the height
    std::int16_t denominator = 0;  // 3 to 10
    std::int16_t kind = 0;         // question kind 1..8 (and, briefly, a reseed value)
    std::int16_t correct = 0;
    std::int16_t wrong = 0;
    std::int16_t hours = 0;
    std::int16_t minutes = 0;
    float seconds = 0.0F;  // whole values only
    std::int16_t secondsLeft = 0;
    std::string recordLine;

    bool operator==(const GameState&) const = default;
};

}  // namespace quimbra
