#pragma once
// Filters the keys typed into the answer box and, on Enter, judges the answer
// against the current question's base and updates the score panel.

#include "game/controls.h"
#include "game/game_state.h"

namespace quimbra {

constexpr int keyBackspace = 8;
constexpr int keyEnter = 13;

class AnswerChecker {
  public:
    AnswerChecker(GameState& state, Controls& controls) : state_(state), controls_(controls) {}

    // Returns the code the box receives: the key unchanged for digits,
    // Backspace and Enter (which also runs the check), 0 (discarded) otherwise.
    int filterKey(int keyCode);

    void checkAnswer();

  private:
    GameState& state_;
    Controls& controls_;
};

}  // namespace quimbra
