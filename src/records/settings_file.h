#pragma once
// What the school's technician set for this computer, read in one place for
// the game and the teacher's window: the policy values of
// HKLM\SOFTWARE\Policies\Quimbra on Windows, /etc/quimbra/quimbra.conf
// elsewhere. The file holds "key = value" lines and # comments; blanks
// around key and value are dropped, the last line of a key counts, an empty
// value unsets it (back to its default), a UTF-8 byte-order mark may come first; it is read whole,
// up to 1 MiB. A file that is there but cannot be read, or holds a line
// that is not a comment or a known key, is refused whole: guessing what the
// technician meant (the local folder for a mistyped records-folder) would
// split a lab's record or write names they turned off.

#include <cstddef>
#include <string>
#include <string_view>

namespace quimbra::records {

struct Settings {
    std::string recordsFolder;  // records-folder, RecordsFolder; empty when unset
    // class-sheet, ClassSheet: whether games add their rows to the class
    // sheet. Names typed by children are personal data: a school may keep none.
    bool classSheet = true;
    // read-aloud, ReadAloud: whether the game reads its questions and
    // messages aloud, for pupils who read with difficulty. Off unless set.
    bool readAloud = false;
    // read-aloud-rate, ReadAloudRate: the voice's pace in percent of its
    // normal one, 50 to 200; a child's pace, slower than normal, unless set.
    int readAloudRate = 80;
    // Why they could not be read, for the user, naming the file; empty
    // when they were, or when there are none.
    std::string unreadable;
};

inline constexpr const char* settingsFile = "/etc/quimbra/quimbra.conf";
inline constexpr std::size_t maxSettingsBytes = 1024 * 1024;
inline constexpr int minReadAloudRate = 50;
inline constexpr int maxReadAloudRate = 200;

// Why the class sheet is off, for the teacher, naming where the technician
// turned it off; empty when it is on.
std::string classSheetOffReason(const Settings& settings);

// Those of a file's text; path only names the file in the message.
Settings settingsFromText(std::string_view text, const std::string& path);
// Those of the file at path: none when it is missing.
Settings settingsFromFile(const std::string& path);
// This computer's.
Settings technicianSettings();

}  // namespace quimbra::records
