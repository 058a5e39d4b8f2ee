#pragma once
// The game's view of the records (game/record_keeper.h) on the record files
// of one folder: the one the start finds, kept for the end of the game.

#include <string>

#include "game/record_keeper.h"
#include "records/record_storage.h"

namespace quimbra::records {

class GameRecords final : public RecordKeeper {
  public:
    explicit GameRecords(RecordStorage& storage) : storage_(storage) {}

    quimbra::RecordRead readRecord(const WaitNotice& waiting) override;
    GameEnded endGame(const std::string& score, const std::string& name, const BeatsRecord& beats,
                      const SheetRow& row, const WaitNotice& waiting) override;

  private:
    RecordStorage& storage_;
    std::string dir_;
};

}  // namespace quimbra::records
