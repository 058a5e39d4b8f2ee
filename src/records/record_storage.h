#pragma once
// Where the best score and its holder's name are kept between games: two
// one-line text files, the score file and the name file, in one directory.
// Every operation says whether it worked and, when it did not, why, in
// Italian, naming the file: the game shows that text to the player.

#include <string>

#include "game/record_keeper.h"
#include "records/class_sheet.h"
#include "records/record_paths.h"

namespace quimbra::records {

// The game's own words for what it asks of the records (game/record_keeper.h).
using quimbra::BeatsRecord;
using quimbra::RecordOutcome;
using quimbra::WaitNotice;

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
};

// The record as a start reads it: both files, whole, decoded.
struct StoredRecord {
    Status status;  // why the files could not be created or read
    std::string score;
    std::string name;
    bool ok() const { return status.ok(); }
};

// What the end of a game left in the records folder.
struct GameEndResult {
    // The record's write; notARecord when none was asked for.
    WriteResult record{WriteResult::Outcome::notARecord, {}, {}};
    // Why the game's row is not in the class sheet; empty when it was added,
    // or when the sheet is turned off.
    std::string sheetError;
};

class RecordStorage {
  public:
    virtual ~RecordStorage() = default;

    // The directory that holds the record files, ending in the platform's
    // separator.
    virtual std::string GetSystemDir() = 0;

    // Creates the directory and any missing record file, empty, after
    // finishing or undoing a write that a crash interrupted. Never changes
    // a file that exists otherwise. waiting is called as for writeRecord.
    virtual Status createMissing(const std::string& recordsDir, const WaitNotice& waiting = {}) = 0;

    // The whole content of a record file, decoded from its code page.
    virtual ReadResult Leggifiletxt(const std::string& nomefile) = 0;

    // The start's read: createMissing's work, then both files read, all
    // under one lock, so that the two belong to one record.
    virtual StoredRecord readRecord(const std::string& recordsDir,
                                    const WaitNotice& waiting = {}) = 0;

    // Replaces both files, each with one line (the text, CR LF): the score
    // file with score, the name file with name, if beats says the score
    // beats the record on disk at that moment (another game may have written
    // one meanwhile). All or nothing, also across a crash.
    virtual WriteResult writeRecord(const std::string& recordsDir, const std::string& score,
                                    const std::string& name, const BeatsRecord& beats,
                                    const WaitNotice& waiting = {}) = 0;

    // The end of a game, in one turn with the records folder: the record as
    // writeRecord writes it, when beats is given, then the game's row added
    // to the class sheet (unless the technician turned it off), on the disk
    // before this returns. The row says it beat the record when the new
    // record is kept.
    virtual GameEndResult endGame(const std::string& recordsDir, const std::string& score,
                                  const std::string& name, const BeatsRecord& beats, SheetRow row,
                                  const WaitNotice& waiting = {}) = 0;
};

}  // namespace quimbra::records
