#pragma once
// What the window does when it is loaded: reseed, ask the player's name,
// greet, start the clock and show the record kept in the record files.

#include <string>

#include "game/controls.h"
#include "game/countdown.h"
#include "game/dialogs.h"
#include "game/game_state.h"
#include "game/platform.h"
#include "game/random_source.h"
#include "game/record_keeper.h"

namespace quimbra {

class StartUp {
  public:
    StartUp(GameState& state, Controls& controls, Dialogs& dialogs, Platform& platform,
            RandomSource& random, RecordKeeper& records, Countdown& countdown)
        : state_(state),
          controls_(controls),
          dialogs_(dialogs),
          platform_(platform),
          random_(random),
          records_(records),
          countdown_(countdown) {}

    // Returns what could not be done with the record files ("" when both
    // were created and read, e.g. "leggere i file del record"); when
    // something could not, the player has been told and the game goes on
    // without a record.
    std::string run();

  private:
    std::string showRecord();

    GameState& state_;
    Controls& controls_;
    Dialogs& dialogs_;
    Platform& platform_;
    RandomSource& random_;
    RecordKeeper& records_;
    Countdown& countdown_;
};

}  // namespace quimbra
