#include "support/fake_records.h"

namespace quimbra::testing {

records::Status FakeRecords::createMissing(const std::string& recordsDir,
                                           const records::WaitNotice& waiting) {
    createdIn.push_back(recordsDir);
    if (lockBusy) {
        waiting();
    }
    if (!createError.empty()) {
        return {createError, createFailed};
    }
    if (!scoreFile) {
        scoreFile = "";
    }
    if (!nameFile) {
        nameFile = "";
    }
    return {};
}

records::ReadResult FakeRecords::Leggifiletxt(const std::string& nomefile) {
    read.push_back(nomefile);
    const bool isScore = nomefile == records::scoreFilePath(dir);
    const bool isName = nomefile == records::nameFilePath(dir);
    const std::string& error = isScore ? scoreReadError : nameReadError;
    const std::optional<std::string>& file = isScore ? scoreFile : nameFile;
    if ((!isScore && !isName) || !error.empty() || !file) {
        return {"", error.empty() ? "Il file " + nomefile + " non esiste." : error};
    }
    return {*file, ""};
}

records::StoredRecord FakeRecords::readRecord(const std::string& recordsDir,
                                              const records::WaitNotice& waiting) {
    records::StoredRecord result{createMissing(recordsDir, waiting), {}, {}};
    for (const bool isScore : {true, false}) {
        if (result.ok()) {
            const records::ReadResult file = Leggifiletxt(
                isScore ? records::scoreFilePath(recordsDir) : records::nameFilePath(recordsDir));
            (isScore ? result.score : result.name) = file.text;
            result.status = {file.error, records::Action::read};
        }
    }
    return result;
}

records::WriteResult FakeRecords::writeRecord(const std::string& recordsDir,
                                              const std::string& score, const std::string& name,
                                              const records::BeatsRecord& beats,
                                              const records::WaitNotice& waiting) {
    using Outcome = records::WriteResult::Outcome;
    ++writeAttempts;
    if (lockBusy) {
        waiting();
    }
    if (!writeError.empty()) {
        return {Outcome::failed, writeError, {}};
    }
    const std::string onDisk = scoreFile.value_or("");
    if (!beats(onDisk)) {
        return {Outcome::notARecord, {}, onDisk};
    }
    writes.push_back({recordsDir, score, name});
    scoreFile = score + "\r\n";
    nameFile = name + "\r\n";
    return {writeOutcome, writeOutcome == Outcome::written ? "" : "Guasto simulato.", onDisk};
}

records::GameEndResult FakeRecords::endGame(const std::string& recordsDir, const std::string& score,
                                            const std::string& name,
                                            const records::BeatsRecord& beats,
                                            records::SheetRow row,
                                            const records::WaitNotice& waiting) {
    records::GameEndResult result;
    if (beats) {
        result.record = writeRecord(recordsDir, score, name, beats, waiting);
    }
    row.beatRecord = result.record.outcome == records::WriteResult::Outcome::written;
    rows.push_back(row);
    result.sheetError = sheetError;
    return result;
}

}  // namespace quimbra::testing
