#include "game/countdown.h"

#include "game/numbers.h"

namespace quimbra {

void Countdown::StartCountdown() {
    controls_.timer1Enabled = true;
    state_.hours = 0;
    state_.minutes = 15;
    state_.seconds = 0.0F;
    state_.secondsLeft = 900;
    controls_.lblconto.caption = clockText();
}

std::string Countdown::clockText() const {
    return formatPattern(state_.hours, "00") + ":" + formatPattern(state_.minutes, "00") + ":" +
           formatPattern(state_.seconds, "00");
}

void Countdown::tick() {
    // The displayed text decides here, not the variables.
    if (controls_.lblconto.caption == "00:00:00" &&
        leaving_.run() == LeavingSequence::Outcome::ended) {
        return;
    }
    if (state_.secondsLeft < 1) {
        dialogs_.messageBox("Tempo scaduto");
        if (leaving_.run() == LeavingSequence::Outcome::ended) {
            return;
        }
        controls_.timer1Enabled = false;
        platform_.beep();
        return;
    }
    lowerBySecond();
    controls_.lblconto.caption = clockText();
}

void Countdown::lowerBySecond() {
    // Borrow to 60 so that the decrement below lands on 59: the text never
    // shows 60 seconds. Only values above 0 are lowered, so nothing leaves
    // the 16-bit range.
    if (state_.seconds == 0.0F) {
        if (state_.minutes > 0) {
            state_.minutes = static_cast<std::int16_t>(state_.minutes - 1);
            state_.seconds = 60.0F;
        } else if (state_.minutes == 0) {
            if (state_.hours > 0) {
                state_.hours = static_cast<std::int16_t>(state_.hours - 1);
                state_.minutes = 59;
                state_.seconds = 60.0F;
            } else {
                state_.hours = 0;
                state_.minutes = 0;
            }
        }
    }
    state_.seconds -= 1.0F;
    state_.secondsLeft = static_cast<std::int16_t>(state_.secondsLeft - 1);
}

}  // namespace quimbra
