#include "records/record_files.h"

#include <utility>

#include "records/class_sheet_file.h"
#include "records/code_page.h"
#include "records/file_errors.h"

namespace quimbra::records {
namespace {

using Outcome = WriteResult::Outcome;

}  // namespace

std::string scoreFilePath(const std::string& recordsDir) {
    return withTrailingSeparator(recordsDir) + "vondu.txt";
}
std::string nameFilePath(const std::string& recordsDir) {
    return withTrailingSeparator(recordsDir) + "nvondu.txt";
}
std::string classSheetPath(const std::string& recordsDir) {
    return withTrailingSeparator(recordsDir) + std::string(classSheetFileName);
}

RecordFiles::RecordFiles() : RecordFiles(technicianSettings()) {}

RecordFiles::RecordFiles(const Settings& settings) : RecordFiles(platformRecordLocation(settings)) {
    classSheet_ = settings.classSheet;
}

RecordFiles::RecordFiles(std::string directory, FileOperations& files)
    : RecordFiles(RecordLocation{std::move(directory), false, {}}, files) {}

RecordFiles::RecordFiles(RecordLocation location, FileOperations& files)
    : location_(std::move(location)), files_(&files) {}

std::string RecordFiles::GetSystemDir() {
    lockWait_.restart();  // a game's start: its waits, here and to its end, share one cap
    return withTrailingSeparator(location_.folder);
}

// What every use of the folder begins with: it is checked, made if missing
// (a relative one would put the records wherever the game was started from,
// a lone "\" is the current drive's root) and locked, and what a crash left
// there is finished or thrown away.
LockResult RecordFiles::lock(const std::string& dir, const WaitNotice& waiting) {
    const Status ready =
        dir.empty() ? Status{"La cartella dei record non è stata trovata.", Action::createFolder}
        : !isAbsolutePath(dir)
            ? Status{"La cartella dei record \"" + dir + "\" non è un percorso completo.",
                     Action::createFolder}
        : !location_.refusal.empty() ? Status{location_.refusal, Action::reachFolder}
        : location_.existing         ? reachFolder(dir)
                                     : files_->makeDirectories(dir);
    if (!ready.ok()) {
        return {nullptr, ready};
    }
    const std::string lockPath = withTrailingSeparator(dir) + lockFileName;
    return lockWait_.take([&] { return files_->tryLock(lockPath); }, waiting);
}

LockResult RecordFiles::lockAndRecover(const std::string& dir, const WaitNotice& waiting) {
    LockResult locked = lock(dir, waiting);
    const Status recovered = locked.ok() ? recover(*files_, dir) : Status{};
    return recovered.ok() ? std::move(locked) : LockResult{nullptr, recovered};
}

Status RecordFiles::createMissing(const std::string& recordsDir, const WaitNotice& waiting) {
    const LockResult locked = lockAndRecover(recordsDir, waiting);
    return locked.ok() ? createFiles(recordsDir) : locked.status;
}

StoredRecord RecordFiles::readRecord(const std::string& recordsDir, const WaitNotice& waiting) {
    const LockResult locked = lockAndRecover(recordsDir, waiting);
    StoredRecord result{locked.ok() ? createFiles(recordsDir) : locked.status, {}, {}};
    for (const bool isScore : {true, false}) {
        if (result.ok()) {
            const ReadResult read =
                Leggifiletxt(isScore ? scoreFilePath(recordsDir) : nameFilePath(recordsDir));
            (isScore ? result.score : result.name) = read.text;
            result.status = {read.error, Action::read};
        }
    }
    return result;
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
    if (!isAbsolutePath(nomefile)) {
        return {{}, failureMessage(Action::read, nomefile, "il percorso non è completo")};
    }
    const ReadBytes read = files_->readStart(nomefile, maxRecordFileBytes);
    return read.ok() ? ReadResult{fromSystemCodePage(read.bytes), {}} : ReadResult{{}, read.error};
}

WriteResult RecordFiles::writeRecord(const std::string& recordsDir, const std::string& score,
                                     const std::string& name, const BeatsRecord& beats,
                                     const WaitNotice& waiting) {
    const LockResult locked = lockAndRecover(recordsDir, waiting);
    if (!locked.ok()) {
        return WriteResult::ended(Outcome::failed, locked.status);
    }
    return commitRecord(*files_, recordsDir, score, name, beats);
}

GameEndResult RecordFiles::endGame(const std::string& recordsDir, const std::string& score,
                                   const std::string& name, const BeatsRecord& beats, SheetRow row,
                                   const WaitNotice& waiting) {
    GameEndResult result;
    if (!beats && !classSheet_) {
        return result;
    }
    // A record that cannot be written never costs the game its row: only
    // the lock, which keeps the rows apart, is needed for that.
    const LockResult locked = lock(recordsDir, waiting);
    if (!locked.ok()) {
        if (beats) {
            result.record = WriteResult::ended(Outcome::failed, locked.status);
        }
        result.sheetError = classSheet_ ? locked.status.error : "";
        return result;
    }
    const Status recovered = recover(*files_, recordsDir);
    if (beats) {
        result.record = recovered.ok() ? commitRecord(*files_, recordsDir, score, name, beats)
                                       : WriteResult::ended(Outcome::failed, recovered);
    }
    if (classSheet_) {
        const Outcome kept = result.record.outcome;
        row.beatRecord =
            kept == Outcome::written || kept == Outcome::unsure || kept == Outcome::pending;
        result.sheetError = ClassSheetFile(recordsDir, *files_).append(row).error;
    }
    return result;
}

RecordRead GameRecords::readRecord(const WaitNotice& waiting) {
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
