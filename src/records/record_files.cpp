#include "records/record_files.h"

#include <array>
#include <utility>

#include "records/code_page.h"
#include "records/file_errors.h"
#include "records/record_directory.h"

namespace quimbra::records {
namespace {

// A relative directory would put the records wherever the game was started
// from, and a lone "\" is the root of the current drive: neither is used.
Status checkDirectory(const std::string& dir) {
    if (dir.empty()) {
        return {"La cartella dei record non è stata trovata."};
    }
    if (!isAbsolutePath(dir)) {
        return {"La cartella dei record \"" + dir + "\" non è un percorso completo."};
    }
    return {};
}

// Removes the given files when it goes out of scope.
struct RemovedOnReturn {
    FileOperations& files;
    std::array<std::string, 2> paths;
    ~RemovedOnReturn() {
        for (const std::string& path : paths) {
            files.removeFile(path);
        }
    }
};

std::string line(const std::string& text) {
    return toSystemCodePage(oneLine(text)) + "\r\n";
}

}  // namespace

std::string temporaryPath(const std::string& recordPath) {
    return recordPath + ".tmp";
}

RecordFiles::RecordFiles() : files_(&systemFileOperations()) {}

RecordFiles::RecordFiles(std::string directory)
    : directory_(std::move(directory)), files_(&systemFileOperations()) {}

RecordFiles::RecordFiles(std::string directory, FileOperations& files)
    : directory_(std::move(directory)), files_(&files) {}

std::string RecordFiles::GetSystemDir() {
    return withTrailingSeparator(directory_ ? *directory_ : platformRecordDirectory());
}

Status RecordFiles::createMissing(const std::string& windowsDir) {
    if (Status status = checkDirectory(windowsDir); !status.ok()) {
        return status;
    }
    if (Status status = files_->makeDirectories(windowsDir); !status.ok()) {
        return status;
    }
    std::string errors;
    for (const std::string& path : {scoreFilePath(windowsDir), nameFilePath(windowsDir)}) {
        // Left by a write that never finished: never a record. One that cannot
        // be removed is harmless here, and the next write reports it.
        files_->removeFile(temporaryPath(path));
        if (Status status = files_->createEmptyIfMissing(path); !status.ok()) {
            errors += (errors.empty() ? "" : "\n") + status.error;
        }
    }
    return {errors};
}

ReadResult RecordFiles::Leggifiletxt(const std::string& nomefile) {
    if (!isAbsolutePath(nomefile)) {
        return {{}, failureMessage(Action::read, nomefile, "il percorso non è completo")};
    }
    ReadBytes read = files_->readStart(nomefile, maxRecordFileBytes);
    if (!read.ok()) {
        return {{}, read.error};
    }
    return {fromSystemCodePage(read.bytes), {}};
}

Status RecordFiles::writeRecord(const std::string& windowsDir, const std::string& score,
                                const std::string& name) {
    if (Status status = checkDirectory(windowsDir); !status.ok()) {
        return status;
    }
    if (Status status = files_->makeDirectories(windowsDir); !status.ok()) {
        return status;
    }
    const std::string scorePath = scoreFilePath(windowsDir);
    const std::string namePath = nameFilePath(windowsDir);
    const std::string scoreTemp = temporaryPath(scorePath);
    const std::string nameTemp = temporaryPath(namePath);

    // Everything that can fail is done before the first file is replaced, so
    // a failure leaves both old files as they were.
    for (const std::string& path : {scorePath, namePath}) {
        if (Status status = files_->checkReplaceable(path); !status.ok()) {
            return status;
        }
    }
    for (const std::string& temp : {scoreTemp, nameTemp}) {
        if (Status status = files_->removeFile(temp); !status.ok()) {
            return status;
        }
    }
    // Whatever happens from here on, no temporary file stays behind: one that
    // was renamed into place is simply gone already.
    const RemovedOnReturn cleanUp{*files_, {scoreTemp, nameTemp}};

    // Kept so that a failure between the two replacements can put the old
    // score back beside the old name.
    const ReadBytes oldScore = files_->readStart(scorePath, maxRestorableBytes);
    if (Status status = files_->writeNewFile(scoreTemp, line(score)); !status.ok()) {
        return status;
    }
    if (Status status = files_->writeNewFile(nameTemp, line(name)); !status.ok()) {
        return status;
    }
    if (Status status = files_->replaceFile(scoreTemp, scorePath); !status.ok()) {
        return status;
    }
    if (Status status = files_->replaceFile(nameTemp, namePath); !status.ok()) {
        const bool restored = oldScore.ok() && oldScore.bytes.size() < maxRestorableBytes &&
                              files_->writeNewFile(scoreTemp, oldScore.bytes).ok() &&
                              files_->replaceFile(scoreTemp, scorePath).ok();
        if (restored) {
            return status;
        }
        return {"Il punteggio è stato registrato, ma non il nome. " + status.error};
    }
    files_->syncDirectory(windowsDir);
    return {};
}

}  // namespace quimbra::records
