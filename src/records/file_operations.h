#pragma once
// The few file-system operations the record files need, behind an interface
// so that tests can make any one of them fail, also when they run as root.
// Every failure comes back as the Italian text for the player (file_errors.h).

#include <cstddef>
#include <string>
#include <string_view>

#include "records/record_storage.h"

namespace quimbra::records {

struct ReadBytes {
    std::string bytes;  // as stored, not decoded
    std::string error;  // empty when the file was read
    bool ok() const { return error.empty(); }
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

    // Whether replaceFile(..., path) can be expected to work: fails for a
    // directory (or, on Windows, a read-only file or one that another
    // program holds open without sharing) in place of the file.
    virtual Status checkReplaceable(const std::string& path) = 0;

    // Creates path, which must not exist (a link there is not followed),
    // writes bytes and flushes them to the disk. On failure nothing is left.
    virtual Status writeNewFile(const std::string& path, std::string_view bytes) = 0;

    // Atomically puts the file from in the place of to. A link at to is
    // replaced itself, never the file it points to.
    virtual Status replaceFile(const std::string& from, const std::string& to) = 0;

    // Removes the file or link at path; nothing there is not a failure.
    virtual Status removeFile(const std::string& path) = 0;

    // Makes the renames in dir durable, where the system needs it. Best effort.
    virtual void syncDirectory(const std::string& dir) = 0;
};

// The operations of the system the program runs on.
FileOperations& systemFileOperations();

// Whether path names a place without depending on the current directory
// (on Windows: a drive and a root, or a network share).
bool isAbsolutePath(const std::string& path);

}  // namespace quimbra::records
