#pragma once
// Which directory holds the record files on the system the game runs on.
//
// One record per computer, whoever plays: on Windows %ProgramData%\Quimbra,
// on Linux /var/lib/quimbra where the package made it. A technician may name
// another folder, usually on the school's server, so that a whole lab plays
// against one record: the policy value RecordsFolder of
// HKLM\SOFTWARE\Policies\Quimbra on Windows, the key records-folder of
// /etc/quimbra/quimbra.conf elsewhere. That folder is then the only one: a
// share that is away is reported, never replaced by a local folder, which
// would split the lab's record.

#include <string>
#include <string_view>
#include <vector>

#include "records/file_operations.h"
#include "records/settings_file.h"

namespace quimbra::records {

// The Windows directory from what GetWindowsDirectoryA left in its buffer
// (all of it, NULs included) and what it returned (n): blanks trimmed from
// both ends of the buffer, the first n characters, then "\" unless the path
// already ends with one. The text stops at the first NUL, so a failed call
// (n = 0) or a path too long for the buffer (nothing written) gives a lone
// "\", which names no usable directory.
std::string windowsDirFromBuffer(std::string_view buffer, unsigned n);

// $XDG_DATA_HOME/quimbra/, or ~/.local/share/quimbra/ when XDG_DATA_HOME is
// unset, empty or not an absolute path (the rule for per-user application
// data). Empty when neither gives a directory.
std::string xdgRecordDirectory(const char* xdgDataHome, const char* home);

// The Windows directory on Windows (where older versions kept the record),
// xdgRecordDirectory elsewhere; ending in its separator. May name no usable
// directory (empty, or a lone "\").
std::string platformRecordDirectory();

// Where the record files lie, and the file operations to use there.
struct RecordLocation {
    // The first one where the start-up works is taken, else the last.
    std::vector<std::string> candidates;
    FileOperations* files = nullptr;
};

#ifdef _WIN32
// %ProgramData%\Quimbra\: shared by every account of the computer. Empty
// when the system names no ProgramData folder.
std::string programDataRecordDirectory();
#else
inline constexpr const char* sharedRecordDirectory = "/var/lib/quimbra/";
#endif

// The folder the settings name when they name one, never created: a share
// that is not mounted must not become a local folder of the same name.
// Else sharedDir: on Windows after an older installation's record is
// carried into it from ownDir (the Windows directory); elsewhere where this
// user may create files in it, else ownDir (xdgRecordDirectory). Settings
// that could not be read give no usable folder: every operation fails with
// their reason.
RecordLocation recordLocation(const Settings& settings, const std::string& sharedDir,
                              const std::string& ownDir);

// This computer's: the technician's folder, or the one shared by its users
// (on Windows after carrying an older installation's record into it).
RecordLocation platformRecordLocation(const Settings& settings);

}  // namespace quimbra::records
