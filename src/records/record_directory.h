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

// Whether the games of this computer add their rows to the class sheet
// (class_sheet.h), and when they do not, why: the technician turned it off,
// with the policy value ClassSheet = 0 beside RecordsFolder on Windows, with
// "class-sheet = no" in /etc/quimbra/quimbra.conf elsewhere. Names typed by
// children are personal data: a school may keep none.
struct ClassSheetState {
    bool on = true;
    std::string why;  // in Italian, naming where it was turned off; empty when on
};
ClassSheetState classSheetEnabled(const Settings& settings);

// Where the record files lie, and the file operations to use there.
struct RecordLocation {
    // The first one where the start-up works is taken, else the last.
    std::vector<std::string> candidates;
    FileOperations* files = nullptr;
};

// The operations of the system, except that the folder is never created:
// the technician's folder must be there, or a share that is not mounted
// would become a local folder of the same name. Its absence is reported,
// naming the folder.
FileOperations& existingFolderOperations();

#ifdef _WIN32
// %ProgramData%\Quimbra\: shared by every account of the computer. Empty
// when the system names no ProgramData folder.
std::string programDataRecordDirectory();

// The two record files of an older installation, in olderDir, copied into
// recordsDir when it holds no record yet: under its lock and through its
// commit mark, so both arrive or neither. The originals stay.
void carryOverOlderRecord(const std::string& olderDir, const std::string& recordsDir,
                          FileOperations& files);
#else
inline constexpr const char* sharedRecordDirectory = "/var/lib/quimbra/";

// The folder the settings name when they name one; else sharedDir where
// this user may create files in it; else ownDir (xdgRecordDirectory).
// Settings that could not be read give no folder at all: every operation
// fails with their reason.
RecordLocation recordLocation(const Settings& settings, const std::string& sharedDir,
                              const std::string& ownDir);
#endif

// This computer's: the technician's folder, or the one shared by its users
// (on Windows after carrying an older installation's record into it).
RecordLocation platformRecordLocation(const Settings& settings);

}  // namespace quimbra::records
