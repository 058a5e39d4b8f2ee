#include "records/game_records.h"

#include "records/file_errors.h"

namespace quimbra::records {

RecordRead GameRecords::readRecord(const WaitNotice& waiting) {
    dir_ = storage_.GetSystemDir();
    Status status = storage_.createMissing(dir_, waiting);
    ReadResult score;
    ReadResult name;
    if (status.ok()) {
        score = storage_.Leggifiletxt(scoreFilePath(dir_));
        status = {score.error, Action::read};
    }
    if (status.ok()) {
        name = storage_.Leggifiletxt(nameFilePath(dir_));
        status = {name.error, Action::read};
    }
    if (!status.ok()) {
        return {{}, {}, status.error, failedAtStart(status.action)};
    }
    return {score.text, name.text, {}, {}};
}

GameEnded GameRecords::endGame(const std::string& score, const std::string& name,
                               const BeatsRecord& beats, const SheetRow& row,
                               const WaitNotice& waiting) {
    const GameEndResult ended = storage_.endGame(dir_, score, name, beats, row, waiting);
    return {ended.record.outcome, ended.record.error, ended.sheetError};
}

}  // namespace quimbra::records
