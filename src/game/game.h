#pragma once
// One loaded game window: the handlers the window calls for its events. The
// window owns a fresh Game (and a fresh Controls) for every load, draws the
// Controls after every call and forwards the child's input here.
//
// Once the game has asked the platform to end the program or to reload the
// window, it is over: every handler returns without changing anything.

#include <memory>

#include "game/controls.h"
#include "game/game_state.h"
#include "game/platform.h"
#include "game/random_source.h"
#include "game/record_keeper.h"
#include "game/window_events.h"

namespace quimbra {

class Game final : public WindowEvents {
  public:
    Game(Controls& controls, Platform& platform, RandomSource& random, RecordKeeper& records);
    ~Game() override;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The window is loaded: name, greeting, clock, records.
    void load();
    // The window is shown for the first time after its load: the first
    // question. Later activations change nothing.
    void activate() override;
    // The window's size or state (controls.windowState) changed: the title.
    void resize() override;
    // One second of Timer1. While a dialog of the game is open it changes
    // nothing, so dialogs never stack.
    void tick() override;

    void clickNext() override;
    void clickExit() override;
    void clickNewGame() override;

    // A character typed into the answer box; returns the code the box takes
    // (0: discarded). Enter (13) runs the answer check.
    int keyPress(int keyCode) override;
    // Enter anywhere in the window: a focused cmdExit takes it; else, while
    // cmdNext is enabled it is a click on cmdNext; else, in the answer box,
    // it runs the answer check.
    void pressEnter() override;

    // Only while reading aloud is on; the question is the one on the board.
    void readQuestion() override;
    // On or off; turned on, the question is read.
    void switchReadAloud() override;

    bool over() const override;
    // True while one of the game's dialogs is open.
    bool inDialog() const;
    const GameState& state() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace quimbra
