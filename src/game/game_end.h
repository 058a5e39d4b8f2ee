#pragma once
// How a game stops for good: the program ends, or the window is reloaded for
// a new game. Either is asked of the platform once; from then on the game is
// over and its handlers leave everything as it is.

#include "game/platform.h"

namespace quimbra {

class GameEnd {
  public:
    explicit GameEnd(Platform& platform) : platform_(platform) {}

    void endProgram();
    void newGame();
    bool over() const { return over_; }

  private:
    Platform& platform_;
    bool over_ = false;
};

}  // namespace quimbra
