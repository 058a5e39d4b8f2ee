#pragma once
// Record files kept in memory, with failures to order: each operation fails
// with the given text while that text is not empty.

#include <optional>
#include <string>
#include <vector>

#include "records/record_storage.h"

namespace quimbra::testing {

class FakeRecords : public records::RecordStorage {
  public:
    struct Written {
        std::string recordsDir;
        std::string score;
        std::string name;
    };

    std::string GetSystemDir() override { return dir; }
    records::Status createMissing(const std::string& recordsDir,
                                  const records::WaitNotice& waiting = {}) override;
    records::ReadResult Leggifiletxt(const std::string& nomefile) override;
    // createMissing, then both files read as Leggifiletxt reads them.
    records::StoredRecord readRecord(const std::string& recordsDir,
                                     const records::WaitNotice& waiting = {}) override;
    records::WriteResult writeRecord(const std::string& recordsDir, const std::string& score,
                                     const std::string& name, const records::BeatsRecord& beats,
                                     const records::WaitNotice& waiting = {}) override;
    // The record as writeRecord, when asked for, then the row; sheetError, if
    // any, as why the row was not added.
    records::GameEndResult endGame(const std::string& recordsDir, const std::string& score,
                                   const std::string& name, const records::BeatsRecord& beats,
                                   records::SheetRow row,
                                   const records::WaitNotice& waiting = {}) override;

    std::string dir = "/records/";
    // Missing files are nullopt; createMissing makes them empty.
    std::optional<std::string> scoreFile;
    std::optional<std::string> nameFile;

    std::string createError;
    records::Action createFailed = records::Action::createFile;  // what createError stands for
    std::string scoreReadError;
    std::string nameReadError;
    std::string writeError;
    // The outcome of a write that is not refused by writeError.
    records::WriteResult::Outcome writeOutcome = records::WriteResult::Outcome::written;

    std::vector<std::string> createdIn;
    std::vector<std::string> read;  // paths, in order
    std::vector<Written> writes;    // successful writes only
    int writeAttempts = 0;
    // Another game holds the files: the start and the write wait first.
    bool lockBusy = false;
    std::string sheetError;               // why the row is not added to the class sheet
    std::vector<records::SheetRow> rows;  // every row the games tried to add
};

}  // namespace quimbra::testing
