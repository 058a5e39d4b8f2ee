#include "records/game_records.h"

#include "records/file_errors.h"

namespace quimbra::records {

quimbra::RecordRead GameRecords::readRecord(const WaitNotice& waiting) {
    dir_ = storage_.GetSystemDir();
    const StoredRecord read = storage_.readRecord(dir_, waiting);
    if (!read.ok()) {
        return {{}, {}, read.status.error, failedAtStart(read.status.action)};
    }
    return {read.score, read.name, {}, {}};
}

GameEnded GameRecords::endGame(const std::string& score, const std::string& name,
                               const BeatsRecord& beats, const SheetRow& row,
                               const WaitNotice& waiting) {
    const GameEndResult ended = storage_.endGame(dir_, score, name, beats, row, waiting);
    return {ended.record.outcome, ended.record.error, ended.sheetError};
}

}  // namespace quimbra::records
