#pragma once
// The few file-system operations the record files need, behind an interface
// so that tests can make any one of them fail, also when they run as root.
// Every failure comes back as the Italian text for the player (file_errors.h).

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_storage.h"

namespace quimbra::records {

struct ReadBytes {
    std::string bytes;     // as stored, not decoded
    std::string error;     // empty when the file was read
    bool missing = false;  // failed because nothing is there
    bool ok() const { return error.empty(); }
};

// A game waiting for the lock gives up after this many times the wait for
// one holder in all, whatever the others seem to be doing.
inline constexpr int lockWaitTurns = 6;

// An exclusive lock on the record files, held until it is destroyed; the lock
// file goes with it.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

struct LockResult {
    std::unique_ptr<FileLock> lock;
    Status status;
    bool busy = false;  // failed only because another holder kept the lock
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
    // missing, and flushes it to the disk; the file is never rewritten. A
    // new or empty file gets first before it; a last line cut short (no CR
    // LF at the end, as a crash or a full disk leaves it) is ended first, so
    // that line never joins it. All of it in one write, so that appends
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

    // Takes the exclusive lock that the lock file at path stands for,
    // creating the file. Waits while other holders come and go, each in its
    // turn; gives up when one holder keeps it, with nothing changing in its
    // folder, for longer than wait, and after lockWaitTurns times wait in
    // all: a lock that cannot be had is a failure, never a wait without end.
    // Any error other than a busy lock is told at once.
    virtual LockResult lockFile(const std::string& path, std::chrono::milliseconds wait) = 0;

    // A text no other writer, in this process or another, uses at the same
    // time: for names of files that only their writer may touch.
    virtual std::string uniqueTag() = 0;

    // Gives the file at from the name to, only when nothing has that name:
    // never replaces, whatever a (cached) listing of the folder showed.
    // taken is set when the name was in use, so that another can be tried.
    virtual Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                          bool& taken) = 0;
};

// The operations of the system the program runs on.
FileOperations& systemFileOperations();

// Whether path names a place without depending on the current directory
// (on Windows: a drive and a root, or a network share).
bool isAbsolutePath(const std::string& path);

}  // namespace quimbra::records
