#pragma once
// Which folder holds the record files. One record per computer, whoever
// plays: %ProgramData%\Quimbra on Windows, /var/lib/quimbra where the
// package made it elsewhere; or the folder the technician names (settings),
// usually on the school's server so that a whole lab plays against one
// record. That folder is then the only one: a share that is away is told,
// never replaced by a local folder, which would split the lab's record.

#include <string>
#include <string_view>

#include "records/record_storage.h"
#include "records/settings_file.h"

namespace quimbra::records {

// The Windows directory from GetWindowsDirectoryA's whole buffer and its
// result n: blanks trimmed, the first n characters, up to the first NUL,
// then "\" (so a failed call gives a lone "\", which names no usable folder).
std::string windowsDirFromBuffer(std::string_view buffer, unsigned n);

// $XDG_DATA_HOME/quimbra/, else ~/.local/share/quimbra/ (an unset, empty or
// relative XDG_DATA_HOME is ignored); empty when neither gives a folder.
std::string xdgRecordDirectory(const char* xdgDataHome, const char* home);

// The Windows directory (where older versions kept the record) on Windows,
// else xdgRecordDirectory; ending in its separator; maybe unusable.
std::string platformRecordDirectory();

struct RecordLocation {
    std::string folder;
    // The technician's folder: reached, never created.
    bool existing = false;
    // Why no folder can be used (the settings could not be read); empty if one can.
    std::string refusal;
};

#ifdef _WIN32
// %ProgramData%\Quimbra\, shared by every account; empty without ProgramData.
std::string programDataRecordDirectory();
#else
inline constexpr const char* sharedRecordDirectory = "/var/lib/quimbra/";
#endif

// The folder the settings name, else sharedDir (on Windows after an older
// installation's record is carried into it from ownDir; elsewhere when this
// user may create files in it, else ownDir). Unreadable settings give their
// reason and no folder.
RecordLocation recordLocation(const Settings& settings, const std::string& sharedDir,
                              const std::string& ownDir);
RecordLocation platformRecordLocation(const Settings& settings);

// Whether the technician's folder is there, saying why not (a share away).
Status reachFolder(const std::string& dir);

}  // namespace quimbra::records
