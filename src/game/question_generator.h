#pragma once
// Poses one new question: picks a kind, draws the unit and the numerator,
// colours the fraction bar and writes the numbers into the question's labels.

#include "game/controls.h"
#include "game/game_state.h"
#include "game/question_kinds.h"
#include "game/random_source.h"

namespace quimbra {

class QuestionGenerator {
  public:
    QuestionGenerator(GameState& state, Controls& controls, RandomSource& random)
        : state_(state), controls_(controls), random_(random) {}

    void poseQuestion();

  private:
    struct Drawn {
        std::int16_t unit = 0;
        std::int16_t numerator = 0;
    };
    Drawn drawQuestionOfKind(const QuestionKind& kind);
    std::int16_t drawValue(const Draw& formula);

    GameState& state_;
    Controls& controls_;
    RandomSource& random_;
};

}  // namespace quimbra
