#pragma once
// The file-system operations the record files need, behind an interface so
// that tests can make any one fail, also as root. Failures are Italian texts.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_storage.h"

namespace quimbra::records {

struct ReadBytes {
    std::string bytes;      // as stored, not decoded
    std::string error;      // empty when the file was read
    bool missing = false;   // failed because nothing is there
    bool notAFile = false;  // failed because a folder or another non-file is there
    bool ok() const { return error.empty(); }
};

// An exclusive lock on the record files, held until it is destroyed.
class FileLock {
  public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    virtual ~FileLock() = default;
};

struct LockResult {
    std::unique_ptr<FileLock> lock;
    Status status;
    bool busy = false;     // failed only because another holder has the lock
    std::string holder{};  // when busy: who, as far as can be told; changes with every turn
    bool ok() const { return status.ok(); }
};

// The lock another game holds, with holder.
LockResult busyLock(const std::string& path, std::string holder);

struct DirectoryList {
    std::vector<std::string> names;  // without "." and ".."
    Status status;
};

class FileOperations {
  public:
    virtual ~FileOperations() = default;

    // Creates dir and its missing parents. A file in the way is a failure.
    virtual Status makeDirectories(const std::string& dir) = 0;
    // Creates path empty when nothing is there; never touches what is there
    // nor creates a link's target. A directory there is a failure.
    virtual Status createEmptyIfMissing(const std::string& path) = 0;
    // At most maxBytes from the start of the regular file at path.
    virtual ReadBytes readStart(const std::string& path, std::size_t maxBytes) = 0;
    // Whether replaceFile(..., path) should work: not for a non-file there, a
    // file made read-only (even when root could write it) or, on Windows, one
    // another program holds open without sharing.
    virtual Status checkReplaceable(const std::string& path) = 0;
    // Creates path, which must not exist (a link there is not followed), with
    // bytes flushed to the disk. On failure nothing is left.
    virtual Status writeNewFile(const std::string& path, std::string_view bytes) = 0;
    // Atomically puts from in the place of to; a link at to is replaced itself.
    virtual Status replaceFile(const std::string& from, const std::string& to) = 0;
    // Adds appendedBytes at the end of the regular file at path, created when
    // missing, flushed to the disk. One write, so appends never interleave.
    // Refuses a link, a second name (hard link), a non-file, a read-only file.
    virtual Status appendLine(const std::string& path, std::string_view first,
                              std::string_view line) = 0;
    // Removes the file or link at path; nothing there is not a failure.
    virtual Status removeFile(const std::string& path) = 0;
    // Makes what was created, renamed and removed in dir durable.
    virtual Status syncDirectory(const std::string& dir) = 0;
    virtual DirectoryList listDirectory(const std::string& dir) = 0;
    // One try at the exclusive lock the lock file at path stands for, creating
    // it or replacing what another user planted there. Only another game's
    // lock is busy, with its holder; any other error is told as it is.
    virtual LockResult tryLock(const std::string& path) = 0;
    // The lock, waited for as LockWait waits.
    LockResult lockFile(const std::string& path, std::chrono::milliseconds wait);
    // A text no other writer (process or thread) uses at the same time.
    virtual std::string uniqueTag();
    // Names from to only when nothing has that name, whatever a (cached)
    // listing showed; taken when the name was in use.
    virtual Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                          bool& taken) = 0;
};

// What appendLine adds to a file of size bytes ending with tail (its last
// two bytes): first before line in an empty file, a CR LF after a last line
// cut short (by a crash or a full disk) so that line never joins it.
std::string appendedBytes(std::uint64_t size, std::string_view tail, std::string_view first,
                          std::string_view line);

FileOperations& systemFileOperations();

// One writer's temporary file or draft beside path (tag from uniqueTag):
// what a start finds left by a writer that died.
std::string temporaryPath(const std::string& path, const std::string& tag);

// Whether path does not depend on the current directory (on Windows: a
// drive and a root, or a network share).
bool isAbsolutePath(const std::string& path);

// The folders of dir below its root, outermost first, dir itself last.
std::vector<std::string> foldersOf(const std::string& dir);

}  // namespace quimbra::records
