#pragma once
// Which directory holds the record files on the system the game runs on.

#include <string>
#include <string_view>
#include <vector>

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

// The directory on this system, ending in its separator: the Windows
// directory on Windows, xdgRecordDirectory elsewhere. May name no usable
// directory (empty, or a lone "\"); the record operations then fail and say so.
std::string platformRecordDirectory();

// Where the records may lie, the first usable one taken: on Windows the
// Windows directory, then %ProgramData%\Quimbra\ (on Windows 10 and 11 a
// standard account cannot create files in the Windows directory, and a
// 64-bit program is not redirected elsewhere); elsewhere the one directory.
std::vector<std::string> platformRecordDirectories();

#ifdef _WIN32
// %ProgramData%\Quimbra\: shared by every account of the computer, as the
// Windows directory is. Empty when the system names no ProgramData folder.
std::string programDataRecordDirectory();
#endif

}  // namespace quimbra::records
