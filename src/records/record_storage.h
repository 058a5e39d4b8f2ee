#pragma once
// Where the best score and its holder's name are kept between games: two
// one-line text files, the score file and the name file, in one directory.
// Every operation says whether it worked and, when it did not, why, in
// Italian, naming the file: the game shows that text to the player.

#include <string>

namespace quimbra::records {

struct Status {
    std::string error;  // empty when the operation worked
    bool ok() const { return error.empty(); }
};

struct ReadResult {
    std::string text;   // UTF-8, the file's whole content, line end included
    std::string error;  // empty when the file was read
    bool ok() const { return error.empty(); }
};

class RecordStorage {
  public:
    virtual ~RecordStorage() = default;

    // The directory that holds the record files, ending in the platform's
    // separator.
    virtual std::string GetSystemDir() = 0;

    // Creates the directory and any missing record file, empty. Never changes
    // a file that exists.
    virtual Status createMissing(const std::string& windowsDir) = 0;

    // The whole content of a record file, decoded from its code page.
    virtual ReadResult Leggifiletxt(const std::string& nomefile) = 0;

    // Replaces both files, each with one line (the text, CR LF): the score
    // file with score, the name file with name. All or nothing: on failure
    // both old files are left as they were.
    virtual Status writeRecord(const std::string& windowsDir, const std::string& score,
                               const std::string& name) = 0;
};

// dir with the platform's separator at its end (an empty dir stays empty).
std::string withTrailingSeparator(std::string dir);

// The paths of the two files in windowsDir, joined without a doubled separator.
std::string scoreFilePath(const std::string& windowsDir);
std::string nameFilePath(const std::string& windowsDir);

}  // namespace quimbra::records
