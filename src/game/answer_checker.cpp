#include "game/answer_checker.h"

#include "game/numbers.h"

namespace quimbra {

int AnswerChecker::filterKey(int keyCode) {
    if (keyCode == keyBackspace || (keyCode >= '0' && keyCode <= '9')) {
        return keyCode;
    }
    if (keyCode == keyEnter) {
        checkAnswer();
        return keyCode;
    }
    return 0;
}

void AnswerChecker::checkAnswer() {
    // A pasted value outside the 16-bit range can never equal base: it is a
    // wrong answer like any other.
    const std::optional<std::int16_t> typed = toInt16(textToNumber(controls_.txtAnswer));
    const bool right = typed.has_value() && *typed == state_.base;
    // The counters stop once the total reaches 32767, so nothing ever wraps;
    // the verdict is still shown.
    const bool counting = state_.correct + state_.wrong < 32767;

    if (right) {
        if (counting) {
            ++state_.correct;
        }
        controls_.lblMessage.foreColour = colours::blue;
        controls_.lblMessage.caption = "Esatto, \u00e8 incredibile!!!";
    } else {
        if (counting) {
            ++state_.wrong;
        }
        controls_.lblMessage.foreColour = colours::red;
        controls_.lblMessage.caption = "Sbagliato!! " + formatPattern(state_.base, "####0");
        if (counting) {
            controls_.lblScore1.caption = formatPattern(state_.wrong, "###0");
        }
    }
    if (counting) {
        controls_.lblScore.caption = formatPattern(state_.correct, "####0");
        controls_.lblScore2.caption = formatPattern(state_.wrong + state_.correct, "####0");
    }
    controls_.cmdNextEnabled = true;
    controls_.focus = Focus::cmdNext;
}

}  // namespace quimbra
