// How a new record replaces both record files as one, also across a crash or
// a power cut, and how two games ending at once cannot mix their records.
// One pair is the score file vondu.txt and the name file nvondu.txt; a write
// has a tag of its own (FileOperations::uniqueTag). The steps, in order:
//
//  1. lock           the exclusive lock of vondu.lock (lock_wait.h), held by
//                    every start and every write from here to its end.
//  2. recover        what an earlier holder left is finished or taken back:
//                    a whole commit mark means its pair was decided, so the
//                    renames still pending are done; no mark means nothing
//                    was decided, so every temporary file is removed.
//  3. temporaries    vondu.txt.<tag>.tmp and nvondu.txt.<tag>.tmp written
//                    with the new pair, each flushed to the disk.
//  4. folder sync    their names on the disk too.
//  5. mark           vondu.commit written with the tag and flushed, the
//                    folder synced: from here the new pair counts.
//  6. score rename   vondu.txt.<tag>.tmp over vondu.txt.
//  7. name rename    nvondu.txt.<tag>.tmp over nvondu.txt.
//  8. sync           the folder synced: both renames on the disk.
//  9. mark removed   vondu.commit removed.
//
//  Crash after  What is on disk                         What the next start does (2)
//  1, 2         the old pair                            nothing, or 2 again
//  3, 4         the old pair, some temporaries          removes them
//  5, unsynced  the old pair, maybe part of a mark      a whole mark: as below; else
//                                                       removes mark and temporaries
//  5            the old pair, mark, both temporaries    renames both: the new pair
//  6            new score, old name, mark, name's tmp   renames the name
//  7, 8         the new pair (maybe not synced), mark   syncs, removes the mark
//  9            the new pair                            nothing
//
// Whether a mark or a temporary file is there is decided by opening it,
// never from a listing, which on a share may come from a stale cache. A
// step that fails is told; one whose outcome a share leaves unknown (a
// rename reported failed that it did) is settled by reading the file.
//
// On a share the same holds, as the protocols promise: the server keeps the
// byte-range lock, renames atomically (NFS RENAME, SMB2 rename), puts a
// flushed file on its disk (NFS COMMIT, SMB2 FLUSH) and answers an open
// with what the last holder left (a file removed elsewhere is stale).
#include "records/record_files.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "records/code_page.h"

namespace quimbra::records {
namespace {

using Outcome = WriteResult::Outcome;

// A record write's temporary file, which only a mark gives a use, or the
// draft of a record file, lock file or class sheet, which has none once its
// maker has gone.
bool isRecordTemporary(const std::string& name) {
    return (name.starts_with("vondu.txt.") || name.starts_with("nvondu.txt.")) &&
           name.ends_with(".tmp");
}
bool isDraft(const std::string& name) {
    return (name.starts_with("vondu.lock.") || name.starts_with("registro.csv.")) &&
           name.ends_with(".tmp");
}

// The tag a commit mark holds, or "" when it is not a whole one (its writer
// died before the mark was complete, so before the decision was taken).
std::string tagOf(const std::string& mark) {
    if (mark.size() < 3 || !mark.ends_with("\r\n")) {
        return {};
    }
    const std::string tag = mark.substr(0, mark.size() - 2);
    const bool allowed = std::all_of(tag.begin(), tag.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-';
    });
    return allowed ? tag : std::string();
}

struct Paths {
    explicit Paths(const std::string& recordsDir)
        : dir(withTrailingSeparator(recordsDir)),
          score(scoreFilePath(dir)),
          name(nameFilePath(dir)),
          mark(dir + commitMarkName) {}
    std::string dir, score, name, mark;
};

// What is at path, found by opening it: ours when it holds what a write put there.
enum class Found { ours, other, none, notAFile, unknown };
Found find(FileOperations& files, const std::string& path, const std::string& ours, Status& why) {
    const ReadBytes read = files.readStart(path, ours.empty() ? 0 : maxRecordFileBytes);
    why = {read.error, Action::read};
    return read.ok()       ? (read.bytes == ours ? Found::ours : Found::other)
           : read.missing  ? Found::none
           : read.notAFile ? Found::notAFile
                           : Found::unknown;
}

// Step 2 with a mark there: the renames its temporary files still wait for.
// The score file is renamed first: a name file still to rename means the
// score file is done or still to do; without it, either both are done or
// the pair never was whole. A temporary file that is a folder or another
// non-file was planted, never written by a game: no decision.
Status finishMarked(FileOperations& files, const Paths& p, const std::string& tag) {
    if (!tag.empty()) {
        const std::string scoreTemp = temporaryPath(p.score, tag);
        const std::string nameTemp = temporaryPath(p.name, tag);
        Status why;
        const Found name = find(files, nameTemp, {}, why);
        const Found score = name == Found::ours ? find(files, scoreTemp, {}, why) : Found::none;
        if (name == Found::unknown || score == Found::unknown) {
            return why;
        }
        if (name == Found::ours && score != Found::notAFile) {
            if (score == Found::ours) {
                if (Status status = files.replaceFile(scoreTemp, p.score); !status.ok()) {
                    return status;
                }
            }
            if (Status status = files.replaceFile(nameTemp, p.name); !status.ok()) {
                return status;
            }
        }
    }
    // The renames must be on the disk before the mark goes.
    if (Status status = files.syncDirectory(p.dir); !status.ok()) {
        return status;
    }
    return files.removeFile(p.mark);
}

// Step 2's end: temporary files of writes that never finished, and drafts.
// Record temporaries go only once no mark is there, and only once the
// mark's removal (by whoever took the decision back) is on the disk, or a
// power cut could bring back a mark with part of its files: until then
// they are harmless and kept. Name files first, as a writer that takes its
// decision back removes them. One that cannot be removed is harmless too.
Status removeLeftovers(FileOperations& files, const Paths& p, bool decided, bool synced) {
    const DirectoryList list = files.listDirectory(p.dir);
    if (!list.status.ok()) {
        return list.status;
    }
    std::vector<std::string> leftovers;
    bool records = false;
    for (const std::string& name : list.names) {
        if (isDraft(name) || (decided && isRecordTemporary(name))) {
            leftovers.push_back(name);
            records = records || isRecordTemporary(name);
        }
    }
    if (records && !synced && !files.syncDirectory(p.dir).ok()) {
        std::erase_if(leftovers, isRecordTemporary);
    }
    std::stable_partition(leftovers.begin(), leftovers.end(),
                          [](const std::string& name) { return name.starts_with('n'); });
    for (const std::string& name : leftovers) {
        files.removeFile(p.dir + name);
    }
    return {};
}

// One write, steps 3 to 9. Each step gives the write's outcome when the
// write ends there, nothing when it goes on.
class Commit {
  public:
    Commit(FileOperations& files, const std::string& dir, const std::string& score,
           const std::string& name)
        : files_(files),
          p_(dir),
          tag_(files.uniqueTag()),
          scoreTemp_(temporaryPath(p_.score, tag_)),
          nameTemp_(temporaryPath(p_.name, tag_)),
          markText_(tag_ + "\r\n"),
          newScore_(line(score)),
          newName_(line(name)) {}

    WriteResult run(const BeatsRecord& beats) {
        using Step = std::optional<WriteResult> (Commit::*)();
        if (auto ended = compare(beats)) {
            return *ended;
        }
        for (const Step step :
             {&Commit::writeTemporaries, &Commit::syncTemporaries, &Commit::writeMark,
              &Commit::renameScore, &Commit::renameName, &Commit::syncRenames}) {
            if (auto ended = (this->*step)()) {
                return *ended;
            }
        }
        removeMark();
        return {Outcome::written, {}, onDisk_};
    }

  private:
    static std::string line(const std::string& text) {
        return toSystemCodePage(oneLine(text)) + "\r\n";
    }

    // The record as it is now: another game may have written one since
    // this one started.
    std::optional<WriteResult> compare(const BeatsRecord& beats) {
        for (const std::string& path : {p_.score, p_.name}) {
            if (Status status = files_.checkReplaceable(path); !status.ok()) {
                return WriteResult::ended(Outcome::failed, status);
            }
        }
        const ReadBytes read = files_.readStart(p_.score, maxRecordFileBytes);
        if (!read.ok() && !read.missing) {
            return WriteResult::ended(Outcome::failed, {read.error, Action::read});
        }
        onDisk_ = fromSystemCodePage(read.bytes);
        if (!beats(onDisk_)) {
            return WriteResult{Outcome::notARecord, {}, onDisk_};
        }
        return {};
    }

    // Step 3.
    std::optional<WriteResult> writeTemporaries() {
        Status status = files_.writeNewFile(scoreTemp_, newScore_);
        return undoOnFailure(false,
                             status.ok() ? files_.writeNewFile(nameTemp_, newName_) : status);
    }

    // Step 4.
    std::optional<WriteResult> syncTemporaries() {
        return undoOnFailure(false, files_.syncDirectory(p_.dir));
    }

    // Step 5: the decision.
    std::optional<WriteResult> writeMark() {
        Status status = files_.writeNewFile(p_.mark, markText_);
        return undoOnFailure(true, status.ok() ? files_.syncDirectory(p_.dir) : status);
    }

    // Step 6. A share can report a rename failed that it did (its reply
    // lost and the request sent again): the score file tells. The new score
    // beats the old one, so the two never read the same.
    std::optional<WriteResult> renameScore() {
        Status status = files_.replaceFile(scoreTemp_, p_.score);
        if (status.ok()) {
            return {};
        }
        const Found score = holds(p_.score, newScore_);
        if (score == Found::ours) {
            return {};
        }
        if (score == Found::other || score == Found::none) {
            return undo(true, status);
        }
        // The decision stays, and the next holder of the lock finishes it.
        status.error += "\nIl record sar\u00e0 registrato al prossimo avvio del gioco.";
        return WriteResult::ended(Outcome::pending, status);
    }

    // Step 7. The name file holding the new name is the new pair, whether
    // the rename was done or the name was the same already.
    std::optional<WriteResult> renameName() {
        Status status = files_.replaceFile(nameTemp_, p_.name);
        if (status.ok() || holds(p_.name, newName_) == Found::ours) {
            return {};
        }
        status.error +=
            "\nIl punteggio \u00e8 stato registrato; il nome sar\u00e0 registrato al prossimo "
            "avvio del gioco.";
        return WriteResult::ended(Outcome::pending, status);
    }

    // Step 8. On failure the mark stays: the next start redoes lost renames.
    std::optional<WriteResult> syncRenames() {
        if (Status status = files_.syncDirectory(p_.dir); !status.ok()) {
            return WriteResult::ended(Outcome::unsure, status);
        }
        return {};
    }

    // Step 9. A mark left here is harmless: the next holder removes it.
    void removeMark() { files_.removeFile(p_.mark); }

    Found holds(const std::string& path, const std::string& ours) {
        Status why;
        return find(files_, path, ours, why);
    }

    // Takes the decision back: the mark's removal on the disk before the
    // temporary files go, the name file's first (see removeLeftovers). Only
    // this write's mark is removed (another computer's, hidden by a stale
    // cache, is the next start's to finish); when it cannot be removed, or
    // whose it is cannot be told, the files stay, so the pair stays whole.
    std::optional<WriteResult> undoOnFailure(bool markTried, const Status& status) {
        return status.ok() ? std::nullopt : std::optional(undo(markTried, status));
    }
    WriteResult undo(bool markTried, Status why) {
        if (markTried) {
            const Found marked = holds(p_.mark, markText_);
            if (marked == Found::unknown || marked == Found::notAFile ||
                (marked == Found::ours &&
                 (!files_.removeFile(p_.mark).ok() || !files_.syncDirectory(p_.dir).ok()))) {
                why.error += "\nIl record potrebbe essere registrato al prossimo avvio del gioco.";
                return WriteResult::ended(Outcome::failed, why);
            }
        }
        files_.removeFile(nameTemp_);
        files_.removeFile(scoreTemp_);
        return WriteResult::ended(Outcome::failed, why);
    }

    FileOperations& files_;
    const Paths p_;
    const std::string tag_, scoreTemp_, nameTemp_, markText_, newScore_, newName_;
    std::string onDisk_;
};

}  // namespace

// Step 2. A mark that cannot be read (a folder planted there, an I/O error)
// is told and leaves the record temporaries; drafts go all the same, so that
// nothing of a killed game stands in the way of the next game's row.
Status recover(FileOperations& files, const std::string& dir) {
    const Paths p(dir);
    const ReadBytes mark = files.readStart(p.mark, 256);
    Status decided;
    if (mark.ok()) {
        decided = finishMarked(files, p, tagOf(mark.bytes));
    } else if (!mark.missing) {
        decided = {mark.error, Action::read};
    }
    const Status cleaned = removeLeftovers(files, p, decided.ok(), mark.ok());
    return decided.ok() ? cleaned : decided;
}

WriteResult commitRecord(FileOperations& files, const std::string& dir, const std::string& score,
                         const std::string& name, const BeatsRecord& beats) {
    return Commit(files, dir, score, name).run(beats);
}

}  // namespace quimbra::records
