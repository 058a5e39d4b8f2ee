#pragma once
// Leaving the game (cmdExit, or the clock when the time is up): the
// confirmation, the farewell, the record kept when the score beats it, the
// game's row in the class sheet, and the end of the program.

#include <string>
#include <utility>

#include "game/controls.h"
#include "game/dialogs.h"
#include "game/game_end.h"
#include "game/game_state.h"
#include "game/platform.h"
#include "game/record_keeper.h"

namespace quimbra {

inline constexpr const char* recordingText =
    "Sto registrando il tuo record: aspetta un momento, altre partite stanno registrando il "
    "loro.";
// The same wait at the start, while another game is writing its record.
inline constexpr const char* readingRecordText =
    "Sto leggendo il record: aspetta un momento, altre partite stanno registrando il loro.";

inline constexpr const char* sheetWritingText =
    "Sto scrivendo la partita nel registro della classe: aspetta un momento, altre partite "
    "stanno scrivendo la loro.";

class LeavingSequence {
  public:
    enum class Outcome { stayed, ended };

    LeavingSequence(GameState& state, Controls& controls, Dialogs& dialogs, Platform& platform,
                    RecordKeeper& records, GameEnd& end)
        : state_(state),
          controls_(controls),
          dialogs_(dialogs),
          platform_(platform),
          records_(records),
          end_(end) {}

    // stayed: the player answered No and nothing changed. ended: the program
    // has been asked to end; the caller must do nothing more.
    Outcome run();

    // What the start-up could not do with the record files ("" when it read
    // them). A game that never saw the record must not overwrite it.
    void setRecordFailure(std::string failure) { recordFailure_ = std::move(failure); }

  private:
    void keepRecord();
    void tellRecord(const GameEnded& ended);
    SheetRow sheetRow();

    GameState& state_;
    Controls& controls_;
    Dialogs& dialogs_;
    Platform& platform_;
    RecordKeeper& records_;
    GameEnd& end_;
    std::string recordFailure_ = "leggere i file del record";
};

}  // namespace quimbra
