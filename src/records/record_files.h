#pragma once
// The record files on disk, as the game uses them. Why a new record
// replaces both files as one, across a crash, a power cut and two games
// ending at once, also on a share: record_commit.cpp.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "records/file_operations.h"
#include "records/lock_wait.h"
#include "records/record_storage.h"
#include "records/settings_file.h"

namespace quimbra::records {

// Only the start of a larger file is read: a record is a few bytes, and a
// damaged or hostile file must not fill the memory or the window.
inline constexpr std::size_t maxRecordFileBytes = 64 * 1024;

// The files beside the two record files: the lock, the commit mark, and the
// temporary files of one writer (tag from FileOperations::uniqueTag).
inline constexpr const char* lockFileName = "vondu.lock";
inline constexpr const char* commitMarkName = "vondu.commit";
std::string temporaryPath(const std::string& recordPath, const std::string& tag);

// How long one other game may keep the record files, with nothing changing
// in their folder, before a game waiting for them gives up: far longer than
// any write takes, also on a slow share. While games take turns with them,
// a game waits on.
inline constexpr std::chrono::milliseconds defaultLockWait{30000};

class RecordFiles final : public RecordStorage {
  public:
    // This computer's records folder (platformRecordLocation).
    RecordFiles();
    // The records folder and class sheet that these settings choose.
    explicit RecordFiles(const Settings& settings);
    // Another directory, e.g. a test's temporary one.
    explicit RecordFiles(std::string directory);
    RecordFiles(std::string directory, FileOperations& files);
    // The first of the candidates where the record files can be created and
    // replaced, else the last one.
    RecordFiles(std::vector<std::string> candidates, FileOperations& files);
    ~RecordFiles() override;

    void setLockWait(std::chrono::milliseconds wait) { lockWait_.setPerHolder(wait); }
    // Whether games add their rows to the class sheet: as the technician
    // decided (Settings::classSheet) for this computer's folder, else on.
    void setClassSheet(bool on) { classSheet_ = on; }

    std::string GetSystemDir() override;
    Status createMissing(const std::string& recordsDir, const WaitNotice& waiting = {}) override;
    ReadResult Leggifiletxt(const std::string& nomefile) override;
    StoredRecord readRecord(const std::string& recordsDir, const WaitNotice& waiting = {}) override;
    WriteResult writeRecord(const std::string& recordsDir, const std::string& score,
                            const std::string& name, const BeatsRecord& beats,
                            const WaitNotice& waiting = {}) override;
    GameEndResult endGame(const std::string& recordsDir, const std::string& score,
                          const std::string& name, const BeatsRecord& beats, SheetRow row,
                          const WaitNotice& waiting = {}) override;

  private:
    // Step 1 of record_commit.cpp, and with step 2.
    LockResult lock(const std::string& dir, const WaitNotice& waiting);
    LockResult lockAndRecover(const std::string& dir, const WaitNotice& waiting = {});
    Status createFiles(const std::string& dir);
    bool usable(const std::string& dir);

    std::vector<std::string> candidates_;
    FileOperations* files_;
    LockWait lockWait_{defaultLockWait};
    bool classSheet_ = true;
};

}  // namespace quimbra::records
