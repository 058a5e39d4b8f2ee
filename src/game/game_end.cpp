#include "game/game_end.h"

namespace quimbra {

void GameEnd::endProgram() {
    if (over_) {
        return;
    }
    over_ = true;
    platform_.endProgram();
}

void GameEnd::newGame() {
    if (over_) {
        return;
    }
    over_ = true;
    platform_.reloadWindow();
}

}  // namespace quimbra
