#pragma once
// The record files on disk, as the game uses them. Why a new record
// replaces both files as one, across a crash, a power cut and two games
// ending at once, also on a share: record_commit.cpp.

#include <chrono>
#include <cstddef>
#include <string>

#include "records/file_operations.h"
#include "records/lock_wait.h"
#include "records/record_directory.h"

namespace quimbra::records {

// Only the start of a larger file is read: a damaged or hostile file must
// not fill the memory or the window.
inline constexpr std::size_t maxRecordFileBytes = 64 * 1024;

// The lock and the commit mark beside the record files.
inline constexpr const char* lockFileName = "vondu.lock";
inline constexpr const char* commitMarkName = "vondu.commit";

// How long one other game may keep the files, nothing changing in their
// folder, before a waiting one gives up: far longer than a write on a share.
inline constexpr std::chrono::milliseconds defaultLockWait{30000};

// The commit protocol, under the lock. Step 2: finishes or takes back what
// an earlier holder left. Steps 3 to 9: both files replaced when beats says
// so of the score file as it is now.
Status recover(FileOperations& files, const std::string& dir);
WriteResult commitRecord(FileOperations& files, const std::string& dir, const std::string& score,
                         const std::string& name, const BeatsRecord& beats);

class RecordFiles final : public RecordStorage {
  public:
    // This computer's records folder and class sheet, as the technician set them.
    RecordFiles();
    explicit RecordFiles(const Settings& settings);
    // Another folder, e.g. a test's.
    explicit RecordFiles(std::string directory, FileOperations& files = systemFileOperations());
    RecordFiles(RecordLocation location, FileOperations& files = systemFileOperations());

    void setLockWait(std::chrono::milliseconds wait) { lockWait_.setPerHolder(wait); }
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
    LockResult lock(const std::string& dir, const WaitNotice& waiting);
    LockResult lockAndRecover(const std::string& dir, const WaitNotice& waiting = {});
    Status createFiles(const std::string& dir);

    RecordLocation location_;
    FileOperations* files_;
    LockWait lockWait_{defaultLockWait};
    bool classSheet_ = true;
};

// The game's view of the records (game/record_keeper.h): the folder the
// start finds, kept for the end of the game.
class GameRecords final : public RecordKeeper {
  public:
    explicit GameRecords(RecordStorage& storage) : storage_(storage) {}

    RecordRead readRecord(const WaitNotice& waiting) override;
    GameEnded endGame(const std::string& score, const std::string& name, const BeatsRecord& beats,
                      const SheetRow& row, const WaitNotice& waiting) override;

  private:
    RecordStorage& storage_;
    std::string dir_;
};

}  // namespace quimbra::records
