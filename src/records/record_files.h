#pragma once
// The record files on disk. A new record replaces both files as one, also
// across a crash or a power cut, and two games that end at once cannot mix
// their records: every change is made under an exclusive lock, and the
// decision to replace both files is written down (a commit mark) before the
// first one is replaced, so the next holder of the lock can finish the job.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "records/file_operations.h"
#include "records/record_storage.h"

namespace quimbra::records {

// Only the start of a larger file is read: a record is a few bytes, and a
// damaged or hostile file must not fill the memory or the window.
inline constexpr std::size_t maxRecordFileBytes = 64 * 1024;

// The files beside the two record files: the lock, the commit mark, and the
// temporary files of one writer (tag from FileOperations::uniqueTag).
inline constexpr const char* lockFileName = "vondu.lock";
inline constexpr const char* commitMarkName = "vondu.commit";
std::string temporaryPath(const std::string& recordPath, const std::string& tag);

// How long a game waits for another one to finish with the record files.
inline constexpr std::chrono::milliseconds defaultLockWait{5000};

class RecordFiles final : public RecordStorage {
  public:
    // This computer's records folder (platformRecordLocation).
    RecordFiles();
    // Another directory, e.g. a test's temporary one.
    explicit RecordFiles(std::string directory);
    RecordFiles(std::string directory, FileOperations& files);
    // The first of the candidates where the record files can be created and
    // replaced, else the last one.
    RecordFiles(std::vector<std::string> candidates, FileOperations& files);
    ~RecordFiles() override;

    void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

    std::string GetSystemDir() override;
    // Keeps the lock on success until the name file has been read (or any
    // other operation), so that the two files read belong together.
    Status createMissing(const std::string& recordsDir) override;
    ReadResult Leggifiletxt(const std::string& nomefile) override;
    WriteResult writeRecord(const std::string& recordsDir, const std::string& score,
                            const std::string& name, const BeatsRecord& beats) override;

  private:
    Status recover(const std::string& dir);
    LockResult lockAndRecover(const std::string& dir);
    bool usable(const std::string& dir);

    std::vector<std::string> candidates_;
    FileOperations* files_;
    std::chrono::milliseconds lockWait_ = defaultLockWait;
    std::unique_ptr<FileLock> readingLock_;
};

}  // namespace quimbra::records
