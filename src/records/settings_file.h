#pragma once
// What the school's technician set for this computer: on Linux the lines of
// /etc/quimbra/quimbra.conf, on Windows the policy values of
// HKLM\SOFTWARE\Policies\Quimbra. Read in one place for the game and the
// teacher's window alike.
//
// The file: "key = value" lines, # starting a comment, blanks around key and
// value dropped, the last line of a key counting, an empty value unsetting
// it, a UTF-8 byte-order mark allowed first; read whole, up to 1 MiB. A file
// that is there but cannot be read, or holds a line that is neither a
// comment nor a known key, is refused whole: the technician meant something
// that cannot be known, and guessing (the local folder for a mistyped
// records-folder) would split a lab's record or write names they turned off.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quimbra::records {

struct Settings {
    std::string recordsFolder;       // records-folder, RecordsFolder; empty when unset
    std::optional<bool> classSheet;  // class-sheet, ClassSheet; nullopt when unset
    // Why the settings could not be read, the whole text for the user
    // naming the file; empty when they were (or when there are none).
    std::string unreadable;
};

inline constexpr const char* settingsFile = "/etc/quimbra/quimbra.conf";
inline constexpr std::size_t maxSettingsBytes = 1024 * 1024;

// The settings of a file's text; path only names it in the message.
Settings settingsFromText(std::string_view text, const std::string& path = settingsFile);

// The settings of the file at path: none when it is missing.
Settings settingsFromFile(const std::string& path);

// This computer's: the policy values on Windows, settingsFile elsewhere.
Settings technicianSettings();

}  // namespace quimbra::records
