#pragma once
// What a game asks of the place where the record is kept: the record at the
// start; at the end, the new record kept when the score beats it and the
// game's row added to the class sheet. The records library provides it; the
// game sees no file and no folder.

#include <functional>
#include <string>

namespace quimbra {

// Called once, before a wait for other games to finish with the records.
using WaitNotice = std::function<void()>;

// Whether a game's score beats the record whose score file holds this text.
using BeatsRecord = std::function<bool(const std::string& scoreFileText)>;

struct RecordRead {
    std::string score;  // the score file's whole text, line end included
    std::string name;   // the name file's
    std::string error;  // why the record could not be had, for the child; empty when read
    // What could not be done, to end "non sono riuscito a ...", e.g.
    // "leggere i file del record"; empty when read.
    std::string notDone;
    bool ok() const { return error.empty(); }
};

// A game as the class sheet keeps it.
struct SheetRow {
    std::string date;         // ISO, "2026-12-08"
    std::string time;         // "10:42"
    std::string name;         // the player's name as the board shows it, UTF-8
    int right = 0;            // right answers
    int wrong = 0;            // wrong answers
    int total = 0;            // answers given
    std::string played;       // time played, "mm:ss" (written "0:mm:ss", a duration)
    bool beatRecord = false;  // written "sì", or left empty: whether the new record was kept
    std::string computer;     // the computer's name
    bool operator==(const SheetRow&) const = default;
};

enum class RecordOutcome {
    written,     // both files hold the new record, on the disk
    unsure,      // both files hold it, but the disk did not confirm it is kept
    notARecord,  // the record on disk was not beaten: nothing written
    failed,      // nothing written: both old files are as they were
    pending,     // decided but not finished: the next start completes the new record
};

struct GameEnded {
    RecordOutcome record = RecordOutcome::notARecord;  // notARecord when none was asked for
    std::string recordError;                           // why, for unsure, failed and pending
    // Why the row is not in the class sheet; empty when it was added, or
    // when the sheet is turned off.
    std::string sheetError;
};

class RecordKeeper {
  public:
    virtual ~RecordKeeper() = default;

    // Creates whatever is missing, empty, and reads the record.
    virtual RecordRead readRecord(const WaitNotice& waiting) = 0;

    // The new record (score and name), when beats is given and says so of
    // the record on disk at that moment (another game may have written one
    // meanwhile); then the row, which says whether the record was kept.
    virtual GameEnded endGame(const std::string& score, const std::string& name,
                              const BeatsRecord& beats, const SheetRow& row,
                              const WaitNotice& waiting) = 0;
};

}  // namespace quimbra
