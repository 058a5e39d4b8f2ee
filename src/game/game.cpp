#include "game/game.h"

#include "game/answer_checker.h"
#include "game/countdown.h"
#include "game/dialogs.h"
#include "game/game_end.h"
#include "game/leaving_sequence.h"
#include "game/question_generator.h"
#include "game/spoken_text.h"
#include "game/start_up.h"

namespace quimbra {

struct Game::Parts {
    Parts(Controls& c, Platform& platform, RandomSource& random, RecordKeeper& records)
        : controls(c),
          speech(platform),
          dialogs(platform, c),
          end(platform),
          questions(state, c, random),
          answers(state, c),
          leaving(state, c, dialogs, platform, records, end),
          countdown(state, c, dialogs, platform, leaving),
          startUp(state, c, dialogs, platform, random, records, countdown) {}

    // The child's input and the clock are taken only by a loaded game that is
    // not over and has none of its dialogs open.
    bool accepting() const { return loaded && !end.over() && !dialogs.open(); }

    void say(const std::string& text) { dialogs.say(text); }

    GameState state;
    Controls& controls;
    Platform& speech;
    Dialogs dialogs;
    GameEnd end;
    QuestionGenerator questions;
    AnswerChecker answers;
    LeavingSequence leaving;
    Countdown countdown;
    StartUp startUp;
    bool loaded = false;
    bool questionPosed = false;
};

Game::Game(Controls& controls, Platform& platform, RandomSource& random, RecordKeeper& records)
    : parts_(std::make_unique<Parts>(controls, platform, random, records)) {}

Game::~Game() = default;

void Game::load() {
    Parts& p = *parts_;
    if (p.loaded || p.end.over()) {
        return;
    }
    p.loaded = true;
    p.leaving.setRecordFailure(p.startUp.run());
}

void Game::activate() {
    Parts& p = *parts_;
    // Only the first showing poses a question: coming back from a dialog, from
    // another program or from minimized must keep the question on screen.
    if (!p.accepting() || p.questionPosed) {
        return;
    }
    p.questionPosed = true;
    p.questions.poseQuestion();
    p.say(spokenQuestion(p.controls));
}

void Game::resize() {
    Parts& p = *parts_;
    if (p.end.over()) {
        return;
    }
    p.controls.title = p.controls.windowState == WindowState::minimized
                           ? "Sono in attesa...Cliccami!"
                           : std::string(40, ' ') +
                                 "Gioca con le frazioni per gli alunni della II Sez.A - Buon "
                                 "carnevale!";
}

void Game::tick() {
    Parts& p = *parts_;
    if (!p.accepting() || !p.controls.timer1Enabled) {
        return;
    }
    p.countdown.tick();
}

void Game::clickNext() {
    Parts& p = *parts_;
    if (!p.accepting() || !p.controls.cmdNextEnabled) {
        return;
    }
    p.questions.poseQuestion();
    p.say(spokenQuestion(p.controls));
}

void Game::clickExit() {
    Parts& p = *parts_;
    if (!p.accepting()) {
        return;
    }
    p.leaving.run();
}

void Game::clickNewGame() {
    Parts& p = *parts_;
    if (!p.accepting()) {
        return;
    }
    // Nothing of this game is kept: no comparison, no record written.
    p.end.newGame();
}

int Game::keyPress(int keyCode) {
    Parts& p = *parts_;
    if (!p.accepting()) {
        return 0;
    }
    // While cmdNext is enabled it is the default button and takes Enter: the
    // answer already judged is never judged again.
    if (keyCode == keyEnter && p.controls.cmdNextEnabled) {
        return 0;
    }
    const std::string verdict = p.controls.lblMessage.caption;
    const int kept = p.answers.filterKey(keyCode);
    if (p.controls.lblMessage.caption != verdict) {
        p.say(spokenVerdict(p.controls));
    }
    return kept;
}

void Game::pressEnter() {
    Parts& p = *parts_;
    if (!p.accepting()) {
        return;
    }
    if (p.controls.focus == Focus::cmdExit) {
        clickExit();
    } else if (p.controls.cmdNextEnabled) {
        clickNext();
    } else if (p.controls.focus == Focus::txtAnswer) {
        keyPress(keyEnter);
    }
}

void Game::readQuestion() {
    Parts& p = *parts_;
    if (p.accepting() && p.questionPosed) {
        p.say(spokenQuestion(p.controls));
    }
}

void Game::switchReadAloud() {
    Parts& p = *parts_;
    if (!p.accepting()) {
        return;
    }
    p.controls.readAloud = !p.controls.readAloud;
    if (!p.controls.readAloud) {
        p.speech.stopSaying();
    } else if (p.questionPosed) {
        // Turned on, the pupil hears at once what the board asks.
        p.say(spokenQuestion(p.controls));
    }
}

bool Game::over() const {
    return parts_->end.over();
}

bool Game::inDialog() const {
    return parts_->dialogs.open();
}

const GameState& Game::state() const {
    return parts_->state;
}

}  // namespace quimbra
