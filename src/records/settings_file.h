#pragma once
// What the school's technician set for this computer, read in one place for the game and the
// teacher's window: the policy values of HKLM\SOFTWARE\Policies\Quimbra on Windows,
// /etc/quimbra/quimbra.conf elsewhere: "key = value" lines and # comments, blanks around both
// dropped, the last line of a key counting, an empty value meaning the default, a byte-order mark
// allowed, up to 1 MiB. A file that cannot be read, or with a line that is no comment and no known
// key, is refused whole: guessing (the local folder for a mistyped records-folder) would split a
// lab's record or write names the technician turned off.

#include <cstddef>
#include <string>
#include <string_view>

namespace quimbra::records {

struct Settings {
    std::string recordsFolder;  // empty when unset
    // Whether games add rows to the class sheet: children's names are
    // personal data, which a school may keep none of.
    bool classSheet = true;
    // Whether questions and messages are read aloud, for pupils who read
    // with difficulty; at a pace in percent of the voice's normal one.
    bool readAloud = false;
    int readAloudRate = 80;  // a child's pace
    // Why they could not be read, naming the file; empty when they were or are none.
    std::string unreadable;
};

inline constexpr const char* settingsFile = "/etc/quimbra/quimbra.conf";
inline constexpr std::size_t maxSettingsBytes = 1024 * 1024;
inline constexpr int minReadAloudRate = 50;
inline constexpr int maxReadAloudRate = 200;

// Why the technician turned the class sheet off, and where, for the teacher; empty when it is on.
std::string classSheetOffReason(const Settings& settings);

// Those of a file's text; path only names the file in the message.
Settings settingsFromText(std::string_view text, const std::string& path);
// Those of the file at path: none when it is missing.
Settings settingsFromFile(const std::string& path);
// This computer's.
Settings technicianSettings();

}  // namespace quimbra::records
