#pragma once
// One game with scripted fakes around it, and the few moves the flow tests
// repeat: starting as a named player and giving right or wrong answers.

#include <memory>
#include <string>

#include "game/answer_checker.h"
#include "game/controls.h"
#include "game/game.h"
#include "game/numbers.h"
#include "records/record_files.h"
#include "support/fake_records.h"
#include "support/recording_random.h"
#include "support/scripted_platform.h"

namespace quimbra::testing {

inline const std::string confirmPrompt = "Vuoi veramente lasciarmi  ?";
inline const std::string recordKept = "Ok ho registrato il tuo record, C A M P I O N E";

inline std::string greetingFor(const std::string& name) {
    return " " + name + " vediamo se sei un vero campione  ";
}

struct GameRig {
    GameRig() : game(std::make_unique<Game>(controls, platform, random, keeper)) {}

    // Load as the window does, the name answered with name.
    void load(const std::string& name = "Anna") {
        platform.expectInput("Come ti chiami?", name).expectMessage(greetingFor(name));
        game->load();
    }
    // Load, then the first showing: resize and activate.
    void start(const std::string& name = "Anna") {
        load(name);
        game->resize();
        game->activate();
    }
    // Answers the question on screen and asks the next one, with Enter both times.
    void answer(bool right) {
        const int base = game->state().base;
        controls.txtAnswer = numberToText(right ? base : base + 1);
        controls.focus = Focus::txtAnswer;
        game->pressEnter();
        game->pressEnter();
    }
    void answerRight(int times) {
        for (int i = 0; i < times; ++i) {
            answer(true);
        }
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            game->tick();
        }
    }

    Controls controls;
    ScriptedPlatform platform;
    RecordingRandom random;
    FakeRecords records;
    records::GameRecords keeper{records};  // the game's view of them, as in the program
    std::unique_ptr<Game> game;
};

}  // namespace quimbra::testing
