#pragma once
// The record files on disk. A new record replaces both files atomically, and
// no failure, damaged file or full disk costs the record that is there.

#include <cstddef>
#include <optional>
#include <string>

#include "records/file_operations.h"
#include "records/record_storage.h"

namespace quimbra::records {

// Only the start of a larger file is read: a record is a few bytes, and a
// damaged or hostile file must not fill the memory or the window.
inline constexpr std::size_t maxRecordFileBytes = 64 * 1024;
// An old score file up to this size is put back when the name file cannot be
// replaced after the score file was.
inline constexpr std::size_t maxRestorableBytes = 1024 * 1024;

// Where a new record is written before it replaces the file at recordPath.
std::string temporaryPath(const std::string& recordPath);

class RecordFiles final : public RecordStorage {
  public:
    // The platform's directory (platformRecordDirectory) and file system.
    RecordFiles();
    // Another directory, e.g. a test's temporary one.
    explicit RecordFiles(std::string directory);
    RecordFiles(std::string directory, FileOperations& files);

    std::string GetSystemDir() override;
    Status createMissing(const std::string& windowsDir) override;
    ReadResult Leggifiletxt(const std::string& nomefile) override;
    Status writeRecord(const std::string& windowsDir, const std::string& score,
                       const std::string& name) override;

  private:
    std::optional<std::string> directory_;
    FileOperations* files_;
};

}  // namespace quimbra::records
