#include "records/record_files.h"

#include <algorithm>
#include <utility>

#include "records/class_sheet_file.h"
#include "records/code_page.h"
#include "records/file_errors.h"
#include "records/record_directory.h"

namespace quimbra::records {
namespace {

using Outcome = WriteResult::Outcome;

// A relative directory would put the records wherever the game was started
// from, and a lone "\" is the root of the current drive: neither is used.
Status checkDirectory(const std::string& dir) {
    if (dir.empty()) {
        return {"La cartella dei record non è stata trovata.", Action::createFolder};
    }
    if (!isAbsolutePath(dir)) {
        return {"La cartella dei record \"" + dir + "\" non è un percorso completo.",
                Action::createFolder};
    }
    return {};
}

std::string line(const std::string& text) {
    return toSystemCodePage(oneLine(text)) + "\r\n";
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A temporary file of a record write, or of a game that was making a lock
// file, whoever wrote it.
bool isTemporary(const std::string& name) {
    return (startsWith(name, "vondu.txt.") || startsWith(name, "nvondu.txt.") ||
            startsWith(name, "vondu.lock.")) &&
           endsWith(name, ".tmp");
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The tag a commit mark holds, or "" when it is not a whole one (its writer
// died before the mark was complete, so before the decision was taken).
std::string tagOf(const std::string& mark) {
    if (mark.size() < 3 || !endsWith(mark, "\r\n")) {
        return {};
    }
    const std::string tag = mark.substr(0, mark.size() - 2);
    for (const char c : tag) {
        const bool allowed = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-';
        if (!allowed) {
            return {};
        }
    }
    return tag;
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

WriteResult failure(Outcome outcome, const Status& status) {
    return {outcome, status.error, {}};
}

}  // namespace

std::string temporaryPath(const std::string& recordPath, const std::string& tag) {
    return recordPath + "." + tag + ".tmp";
}

RecordFiles::RecordFiles() : files_(nullptr) {
    const Settings settings = technicianSettings();
    RecordLocation location = platformRecordLocation(settings);
    candidates_ = std::move(location.candidates);
    files_ = location.files;
    classSheet_ = settings.classSheet;
}

RecordFiles::RecordFiles(std::string directory)
    : candidates_{std::move(directory)}, files_(&systemFileOperations()) {}

RecordFiles::RecordFiles(std::string directory, FileOperations& files)
    : candidates_{std::move(directory)}, files_(&files) {}

RecordFiles::RecordFiles(std::vector<std::string> candidates, FileOperations& files)
    : candidates_(std::move(candidates)), files_(&files) {}

RecordFiles::~RecordFiles() = default;

std::string RecordFiles::GetSystemDir() {
    for (std::size_t i = 0; i + 1 < candidates_.size(); ++i) {
        const std::string dir = withTrailingSeparator(candidates_[i]);
        if (usable(dir)) {
            return dir;
        }
    }
    return candidates_.empty() ? std::string() : withTrailingSeparator(candidates_.back());
}

// What the start-up does there works: the lock file and any missing record
// file can be created, which is what a write needs of the directory. A
// record file someone made read-only is no reason to go elsewhere: the
// start-up reports it, like a locked file.
bool RecordFiles::usable(const std::string& dir) {
    const Status created = createMissing(dir);
    readingLock_.reset();
    return created.ok() || created.action == Action::replace;
}

// Under the lock: a commit mark means the decision to replace both files was
// taken, so the replacements still pending are done; no mark means no
// decision, so any temporary file is thrown away.
Status RecordFiles::recover(const std::string& dir) {
    const std::string mark = withTrailingSeparator(dir) + commitMarkName;
    const std::string scorePath = scoreFilePath(dir);
    const std::string namePath = nameFilePath(dir);
    DirectoryList list = files_->listDirectory(dir);
    if (!list.status.ok()) {
        return list.status;
    }
    const bool marked = contains(list.names, commitMarkName);
    if (marked) {
        const ReadBytes read = files_->readStart(mark, 256);
        if (!read.ok()) {
            return {read.error, Action::read};
        }
        const std::string tag = tagOf(read.bytes);
        const std::string scoreTemp = temporaryPath(scorePath, tag);
        const std::string nameTemp = temporaryPath(namePath, tag);
        // The score file is replaced first: a name file still to replace
        // means the score file is done or still to do. Without it, either
        // both are done or the pair never was complete.
        if (!tag.empty() && contains(list.names, fileName(nameTemp))) {
            if (contains(list.names, fileName(scoreTemp))) {
                if (Status status = files_->replaceFile(scoreTemp, scorePath); !status.ok()) {
                    return status;
                }
            }
            if (Status status = files_->replaceFile(nameTemp, namePath); !status.ok()) {
                return status;
            }
        }
        // The replacements must be on the disk before the mark goes.
        if (Status status = files_->syncDirectory(dir); !status.ok()) {
            return status;
        }
        if (Status status = files_->removeFile(mark); !status.ok()) {
            return status;
        }
    }
    std::vector<std::string> leftovers;
    for (const std::string& name : list.names) {
        if (isTemporary(name)) {
            leftovers.push_back(withTrailingSeparator(dir) + name);
        }
    }
    if (leftovers.empty()) {
        return {};
    }
    // The mark's removal (by whoever took the decision back) must be on the
    // disk before its temporary files go, or a power cut could bring back a
    // mark with only part of them. Until then they are harmless: kept.
    if (!marked && !files_->syncDirectory(dir).ok()) {
        return {};
    }
    // Name files first, as a writer that takes its decision back does.
    std::stable_partition(leftovers.begin(), leftovers.end(),
                          [](const std::string& path) { return startsWith(fileName(path), "n"); });
    for (const std::string& path : leftovers) {
        // Left by a write that never finished: never a record. One that
        // cannot be removed is harmless, as only a mark would give it a use.
        files_->removeFile(path);
    }
    return {};
}

// What every use of the directory begins with: it is checked, made if
// missing and locked, and what a crash left there is finished or thrown away.
LockResult RecordFiles::lockAndRecover(const std::string& dir, const WaitNotice& waiting) {
    readingLock_.reset();
    if (Status status = checkDirectory(dir); !status.ok()) {
        return {nullptr, status};
    }
    if (Status status = files_->makeDirectories(dir); !status.ok()) {
        return {nullptr, status};
    }
    const std::string lockPath = withTrailingSeparator(dir) + lockFileName;
    LockResult locked = files_->lockFile(lockPath, std::chrono::milliseconds(0));
    if (locked.busy) {
        if (waiting) {
            waiting();
        }
        locked = files_->lockFile(lockPath, lockWait_);
    }
    if (!locked.ok()) {
        return locked;
    }
    if (Status status = recover(dir); !status.ok()) {
        return {nullptr, status};
    }
    return locked;
}

Status RecordFiles::createMissing(const std::string& recordsDir, const WaitNotice& waiting) {
    LockResult locked = lockAndRecover(recordsDir, waiting);
    if (!locked.ok()) {
        return locked.status;
    }
    if (Status status = createFiles(recordsDir); !status.ok()) {
        return status;
    }
    readingLock_ = std::move(locked.lock);
    return {};
}

// Both files there and replaceable, as a record written at the end of the
// game needs them: the child learns at the start that it cannot be kept.
Status RecordFiles::createFiles(const std::string& dir) {
    const std::string paths[] = {scoreFilePath(dir), nameFilePath(dir)};
    for (const Action step : {Action::createFile, Action::replace}) {
        std::string errors;
        for (const std::string& path : paths) {
            const Status status = step == Action::createFile ? files_->createEmptyIfMissing(path)
                                                             : files_->checkReplaceable(path);
            if (!status.ok()) {
                errors += (errors.empty() ? "" : "\n") + status.error;
            }
        }
        if (!errors.empty()) {
            return {errors, step};
        }
    }
    return {};
}

ReadResult RecordFiles::Leggifiletxt(const std::string& nomefile) {
    ReadResult result;
    if (!isAbsolutePath(nomefile)) {
        result.error = failureMessage(Action::read, nomefile, "il percorso non è completo");
    } else {
        ReadBytes read = files_->readStart(nomefile, maxRecordFileBytes);
        result =
            read.ok() ? ReadResult{fromSystemCodePage(read.bytes), {}} : ReadResult{{}, read.error};
    }
    if (!result.ok() || fileName(nomefile) == "nvondu.txt") {
        readingLock_.reset();
    }
    return result;
}

WriteResult RecordFiles::writeRecord(const std::string& recordsDir, const std::string& score,
                                     const std::string& name, const BeatsRecord& beats,
                                     const WaitNotice& waiting) {
    const LockResult locked = lockAndRecover(recordsDir, waiting);
    if (!locked.ok()) {
        return failure(Outcome::failed, locked.status);
    }
    return writeLocked(recordsDir, score, name, beats);
}

WriteResult RecordFiles::writeLocked(const std::string& recordsDir, const std::string& score,
                                     const std::string& name, const BeatsRecord& beats) {
    const std::string dir = withTrailingSeparator(recordsDir);
    const std::string scorePath = scoreFilePath(dir);
    const std::string namePath = nameFilePath(dir);
    const std::string mark = dir + commitMarkName;

    // The record as it is now: another game may have written one since this
    // one started.
    for (const std::string& path : {scorePath, namePath}) {
        if (Status status = files_->checkReplaceable(path); !status.ok()) {
            return failure(Outcome::failed, status);
        }
    }
    const DirectoryList list = files_->listDirectory(dir);
    if (!list.status.ok()) {
        return failure(Outcome::failed, list.status);
    }
    std::string onDisk;
    if (contains(list.names, fileName(scorePath))) {
        const ReadBytes read = files_->readStart(scorePath, maxRecordFileBytes);
        if (!read.ok()) {
            return failure(Outcome::failed, {read.error, Action::read});
        }
        onDisk = fromSystemCodePage(read.bytes);
    }
    if (!beats(onDisk)) {
        return {Outcome::notARecord, {}, onDisk};
    }

    const std::string tag = files_->uniqueTag();
    const std::string scoreTemp = temporaryPath(scorePath, tag);
    const std::string nameTemp = temporaryPath(namePath, tag);
    const std::string markText = tag + "\r\n";
    const std::string newScore = line(score);
    const std::string newName = line(name);
    // Whether a file holds what this game wrote into it: how a step whose
    // outcome is unknown (a rename reported failed that a share may have
    // done, a mark that may be another's) is settled. Unknown when the file
    // cannot be read.
    enum class Holds { ours, other, missing, unknown };
    const auto holds = [&](const std::string& path, const std::string& ours) {
        const ReadBytes read = files_->readStart(path, maxRecordFileBytes);
        if (!read.ok()) {
            return read.missing ? Holds::missing : Holds::unknown;
        }
        return read.bytes == ours ? Holds::ours : Holds::other;
    };
    // The decision stays, and the next holder of the lock finishes it.
    const auto leaveDecided = [&](const Status& why) {
        return failure(Outcome::pending,
                       {why.error + "\nIl record sar\u00e0 registrato al prossimo avvio del gioco.",
                        why.action});
    };
    // Takes the decision back: the mark's removal reaches the disk before
    // the temporary files go, the name file's first (see recover). Only a
    // mark that holds this game's tag is removed: one that was there before
    // (another computer's, hidden by a stale listing) is left for the next
    // start to finish. When this game's mark cannot be removed, or it cannot
    // be told whose the mark is, the files stay, so that whatever the next
    // holder of the lock finds is a whole pair.
    const auto undo = [&](bool markTried, const Status& why) {
        if (markTried) {
            const Holds marked = holds(mark, markText);
            if (marked == Holds::unknown ||
                (marked == Holds::ours &&
                 (!files_->removeFile(mark).ok() || !files_->syncDirectory(dir).ok()))) {
                return failure(
                    Outcome::failed,
                    {why.error + "\nIl record potrebbe essere registrato al prossimo avvio "
                                 "del gioco.",
                     why.action});
            }
        }
        files_->removeFile(nameTemp);
        files_->removeFile(scoreTemp);
        return failure(Outcome::failed, why);
    };

    // Both new files whole on the disk, then the decision, then the
    // replacements: a crash before the mark is on the disk leaves the old
    // pair, one after it the new pair.
    if (Status status = files_->writeNewFile(scoreTemp, newScore); !status.ok()) {
        return undo(false, status);
    }
    if (Status status = files_->writeNewFile(nameTemp, newName); !status.ok()) {
        return undo(false, status);
    }
    if (Status status = files_->syncDirectory(dir); !status.ok()) {
        return undo(false, status);
    }
    if (Status status = files_->writeNewFile(mark, markText); !status.ok()) {
        return undo(true, status);
    }
    if (Status status = files_->syncDirectory(dir); !status.ok()) {
        return undo(true, status);
    }
    if (Status status = files_->replaceFile(scoreTemp, scorePath); !status.ok()) {
        // A share can report a rename failed that it did (its reply lost and
        // the request sent again): the score file tells. The new score beats
        // the old one, so the two never read the same.
        switch (holds(scorePath, newScore)) {
            case Holds::ours:
                break;
            case Holds::other:
            case Holds::missing:
                return undo(true, status);
            case Holds::unknown:
                return leaveDecided(status);
        }
    }
    if (Status status = files_->replaceFile(nameTemp, namePath); !status.ok()) {
        // The name file holding the new name is the new pair, whether the
        // rename was done or the name was the same already.
        if (holds(namePath, newName) != Holds::ours) {
            return failure(Outcome::pending,
                           {status.error + "\nIl punteggio \u00e8 stato registrato; il nome "
                                           "sar\u00e0 registrato al prossimo avvio del gioco.",
                            status.action});
        }
    }
    if (Status status = files_->syncDirectory(dir); !status.ok()) {
        // The mark stays: should the replacements be lost, the next start
        // does them again.
        return failure(Outcome::unsure, status);
    }
    // A mark left here is harmless: the next holder of the lock removes it.
    files_->removeFile(mark);
    return {Outcome::written, {}, onDisk};
}

GameEndResult RecordFiles::endGame(const std::string& recordsDir, const std::string& score,
                                   const std::string& name, const BeatsRecord& beats, SheetRow row,
                                   const WaitNotice& waiting) {
    GameEndResult result;
    if (!beats && !classSheet_) {
        return result;
    }
    const LockResult locked = lockAndRecover(recordsDir, waiting);
    if (!locked.ok()) {
        if (beats) {
            result.record = failure(Outcome::failed, locked.status);
        }
        result.sheetError = classSheet_ ? locked.status.error : "";
        return result;
    }
    if (beats) {
        result.record = writeLocked(recordsDir, score, name, beats);
    }
    if (classSheet_) {
        const Outcome kept = result.record.outcome;
        row.beatRecord =
            kept == Outcome::written || kept == Outcome::unsure || kept == Outcome::pending;
        result.sheetError = ClassSheetFile(recordsDir, *files_).append(row).error;
    }
    return result;
}

}  // namespace quimbra::records
