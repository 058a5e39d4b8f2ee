#pragma once
// Where the best score and its holder's name are kept between games: two
// one-line text files, the score file and the name file, in one folder.
// Every operation says whether it worked and, when not, why, in Italian,
// naming the file: the game shows that text to the player.

#include <string>

#include "game/record_keeper.h"
#include "records/class_sheet.h"

namespace quimbra::records {

using quimbra::BeatsRecord;
using quimbra::RecordOutcome;
using quimbra::WaitNotice;

// dir with the platform's separator at its end (an empty dir stays empty).
std::string withTrailingSeparator(std::string dir);
// The files in recordsDir, joined without a doubled separator.
std::string scoreFilePath(const std::string& recordsDir);
std::string nameFilePath(const std::string& recordsDir);
std::string classSheetPath(const std::string& recordsDir);

// What was being done when an operation failed.
enum class Action {
    createFolder,
    reachFolder,
    createFile,
    read,
    write,
    replace,
    remove,
    lock,
    sync
};

struct Status {
    std::string error;  // empty when the operation worked
    Action action = Action::read;
    bool ok() const { return error.empty(); }
};

struct ReadResult {
    std::string text;   // UTF-8, the file's whole content, line end included
    std::string error;  // empty when the file was read
    bool ok() const { return error.empty(); }
};

struct WriteResult {
    using Outcome = RecordOutcome;
    Outcome outcome = Outcome::failed;
    std::string error;         // why, for unsure, failed and pending
    std::string recordOnDisk;  // the score file's text compared under the lock
    bool ok() const { return outcome == Outcome::written; }
    static WriteResult ended(Outcome outcome, const Status& why) {
        return {outcome, why.error, {}};
    }
};

// The record as a start reads it: both files, whole, decoded.
struct StoredRecord {
    Status status;  // why the files could not be created or read
    std::string score;
    std::string name;
    bool ok() const { return status.ok(); }
};

struct GameEndResult {
    WriteResult record{WriteResult::Outcome::notARecord, {}, {}};  // none asked for
    // Why the row is not in the class sheet; empty when it was added or the sheet is off.
    std::string sheetError;
};

class RecordStorage {
  public:
    virtual ~RecordStorage() = default;

    // The folder of the record files, ending in the platform's separator.
    virtual std::string GetSystemDir() = 0;

    // The folder and any missing record file made, empty, after what a
    // crash interrupted is finished or undone; no other file is changed.
    virtual Status createMissing(const std::string& recordsDir, const WaitNotice& waiting = {}) = 0;

    // A record file's whole content, decoded from its code page.
    virtual ReadResult Leggifiletxt(const std::string& nomefile) = 0;

    // createMissing, then both files, under one lock: one record's pair.
    virtual StoredRecord readRecord(const std::string& recordsDir,
                                    const WaitNotice& waiting = {}) = 0;

    // Both files replaced, each with one line (the text, CR LF), if beats
    // says the score beats the record on disk at that moment (another game
    // may have written one meanwhile). All or nothing, also across a crash.
    virtual WriteResult writeRecord(const std::string& recordsDir, const std::string& score,
                                    const std::string& name, const BeatsRecord& beats,
                                    const WaitNotice& waiting = {}) = 0;

    // A game's end, in one turn with the folder: the record as writeRecord
    // writes it, when beats is given, then the game's row added to the class
    // sheet (unless turned off), saying whether the new record was kept.
    virtual GameEndResult endGame(const std::string& recordsDir, const std::string& score,
                                  const std::string& name, const BeatsRecord& beats, SheetRow row,
                                  const WaitNotice& waiting = {}) = 0;
};

}  // namespace quimbra::records
