#pragma once
// The few file-system operations the record files need, behind an interface
// so that tests can make any one of them fail, also when they run as root.
// Every failure comes back as the Italian text for the player (file_errors.h).

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
    virtual ~FileLock() = default;
};

struct LockResult {
    std::unique_ptr<FileLock> lock;
    Status status;
    bool busy = false;     // failed only because another holder has the lock
    std::string holder{};  // when busy: who, as far as can be told; changes with every turn
    bool ok() const { return status.ok(); }
};

struct DirectoryList {
    std::vector<std::string> names;  // without "." and ".."
    Status status;
};

class FileOperations {
  public:
    virtual ~FileOperations() = default;

    // Creates dir and its missing parents. A file in the way is a failure.
    virtual Status makeDirectories(const std::string& dir) = 0;

    // Creates path empty when nothing is there; leaves whatever is there
    // untouched (never follows a link to create its target). A directory in
    // its place is a failure.
    virtual Status createEmptyIfMissing(const std::string& path) = 0;

    // At most maxBytes from the start of the regular file at path.
    virtual ReadBytes readStart(const std::string& path, std::size_t maxBytes) = 0;

    // Whether replaceFile(..., path) can be expected to work and should be
    // done: fails for a directory, FIFO or other non-file in place of the
    // file, a file made read-only (also when root could write it anyway) or,
    // on Windows, one that another program holds open without sharing.
    virtual Status checkReplaceable(const std::string& path) = 0;

    // Creates path, which must not exist (a link there is not followed),
    // writes bytes and flushes them to the disk. On failure nothing is left.
    virtual Status writeNewFile(const std::string& path, std::string_view bytes) = 0;

    // Atomically puts the file from in the place of to. A link at to is
    // replaced itself, never the file it points to.
    virtual Status replaceFile(const std::string& from, const std::string& to) = 0;

    // Adds line at the end of the regular file at path, creating it when
    // missing, and flushes it to the disk; the file is never rewritten: the
    // bytes are appendedBytes'. All of it in one write, so that appends
    // never interleave. Never follows a link, and refuses a file with
    // another name (a hard link), a directory, any other kind of file and a
    // file made read-only.
    virtual Status appendLine(const std::string& path, std::string_view first,
                              std::string_view line) = 0;

    // Removes the file or link at path; nothing there is not a failure.
    virtual Status removeFile(const std::string& path) = 0;

    // Makes the files created, renamed and removed in dir durable, where the
    // system needs it.
    virtual Status syncDirectory(const std::string& dir) = 0;

    // The names in dir.
    virtual DirectoryList listDirectory(const std::string& dir) = 0;

    // One try at the exclusive lock that the lock file at path stands for,
    // creating the file, or replacing what another user planted there. A
    // lock another game holds is busy, with its holder; any other error is
    // told as it is, never taken for another game's lock.
    virtual LockResult tryLock(const std::string& path) = 0;

    // The lock, waited for as LockWait waits (lock_wait.h).
    LockResult lockFile(const std::string& path, std::chrono::milliseconds wait);

    // A text no other writer, in this process or another, uses at the same
    // time: for names of files that only their writer may touch.
    virtual std::string uniqueTag() = 0;

    // Gives the file at from the name to, only when nothing has that name:
    // never replaces, whatever a (cached) listing of the folder showed.
    // taken is set when the name was in use, so that another can be tried.
    virtual Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                          bool& taken) = 0;
};

// What appendLine adds to a file of size bytes that ends with tail (its
// last two bytes, fewer in a shorter file): first before line in an empty
// file, and a CR LF before it after a last line cut short (as a crash or a
// full disk leaves it), so that line never joins it.
std::string appendedBytes(std::uint64_t size, std::string_view tail, std::string_view first,
                          std::string_view line);

// The operations of the system the program runs on.
FileOperations& systemFileOperations();

// Whether path names a place without depending on the current directory
// (on Windows: a drive and a root, or a network share).
bool isAbsolutePath(const std::string& path);

}  // namespace quimbra::records
