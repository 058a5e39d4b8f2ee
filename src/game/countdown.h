#pragma once
// The fifteen-minute clock in lblconto, driven by the ticks of Timer1. When
// the time is up it offers leaving, announces it, offers leaving once more
// and stops with a beep.

#include <string>

#include "game/controls.h"
#include "game/dialogs.h"
#include "game/game_state.h"
#include "game/leaving_sequence.h"
#include "game/platform.h"

namespace quimbra {

class Countdown {
  public:
    Countdown(GameState& state, Controls& controls, Dialogs& dialogs, Platform& platform,
              LeavingSequence& leaving)
        : state_(state),
          controls_(controls),
          dialogs_(dialogs),
          platform_(platform),
          leaving_(leaving) {}

    void StartCountdown();
    // One tick of Timer1.
    void tick();
    // hours:minutes:seconds, each at least two digits.
    std::string clockText() const;

  private:
    void lowerBySecond();

    GameState& state_;
    Controls& controls_;
    Dialogs& dialogs_;
    Platform& platform_;
    LeavingSequence& leaving_;
};

}  // namespace quimbra
