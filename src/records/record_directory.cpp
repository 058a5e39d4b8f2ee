#include "records/record_directory.h"

#include <algorithm>

#include "records/code_page.h"
#include "records/file_errors.h"
#include "records/record_files.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <shlobj.h>
#else
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace quimbra::records {
namespace {

#ifdef _WIN32
// The two record files of an older installation, in olderDir, copied into
// recordsDir when it holds no record yet: under its lock and through its
// commit mark, so both arrive or neither. The originals stay.
void carryOverOlderRecord(const std::string& olderDir, const std::string& recordsDir,
                          FileOperations& files) {
    const ReadBytes score = files.readStart(scoreFilePath(olderDir), maxRecordFileBytes);
    const ReadBytes name = files.readStart(nameFilePath(olderDir), maxRecordFileBytes);
    if (!score.ok() || !name.ok() || score.bytes.empty()) {
        return;
    }
    const auto firstLine = [](const std::string& bytes) {
        const std::string text = fromSystemCodePage(bytes);
        return text.substr(0, text.find_first_of("\r\n"));
    };
    // A record not carried now is carried at a later start.
    RecordFiles(recordsDir, files)
        .writeRecord(recordsDir, firstLine(score.bytes), firstLine(name.bytes),
                     [](const std::string& onDisk) { return onDisk.empty(); });
}
#endif

}  // namespace

std::string windowsDirFromBuffer(std::string_view buffer, unsigned n) {
    const std::size_t first = std::min(buffer.find_first_not_of(' '), buffer.size());
    std::string_view path = buffer.substr(first);
    path = path.substr(0, std::min<std::size_t>(path.find_last_not_of(' ') + 1, n));
    const std::string dir(path.substr(0, path.find('\0')));
    return dir.ends_with('\\') ? dir : dir + '\\';
}

std::string xdgRecordDirectory(const char* xdgDataHome, const char* home) {
    const auto trimmed = [](std::string path) {
        return path.erase(path.find_last_not_of('/') + 1);
    };
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return trimmed(xdgDataHome) + "/quimbra/";
    }
    if (home != nullptr && home[0] == '/') {
        return trimmed(home) + "/.local/share/quimbra/";
    }
    return {};
}

std::string platformRecordDirectory() {
#ifdef _WIN32
    char buffer[128] = {};
    const UINT n = GetWindowsDirectoryA(buffer, 128);
    // The path comes in the ANSI code page; inside the program it is UTF-8.
    return fromSystemCodePage(windowsDirFromBuffer(std::string_view(buffer, sizeof buffer), n));
#else
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    return xdgRecordDirectory(std::getenv("XDG_DATA_HOME"), home);
#endif
}

#ifdef _WIN32
std::string programDataRecordDirectory() {
    std::wstring base;
    PWSTR known = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &known) == S_OK) {
        base = known;
    } else {
        wchar_t variable[MAX_PATH + 1] = {};
        const DWORD n = GetEnvironmentVariableW(L"PROGRAMDATA", variable, MAX_PATH + 1);
        if (n > 0 && n <= MAX_PATH) {
            base = variable;
        }
    }
    CoTaskMemFree(known);
    const std::string utf8 = wideToUtf8(base);
    return utf8.empty() ? std::string() : withTrailingSeparator(utf8) + "Quimbra\\";
}
#endif

RecordLocation platformRecordLocation(const Settings& settings) {
#ifdef _WIN32
    return recordLocation(settings, programDataRecordDirectory(), platformRecordDirectory());
#else
    return recordLocation(settings, sharedRecordDirectory, platformRecordDirectory());
#endif
}

RecordLocation recordLocation(const Settings& settings, const std::string& sharedDir,
                              const std::string& ownDir) {
    if (!settings.unreadable.empty()) {
        // The technician meant a folder that cannot be known: no other is
        // used, or the lab's record would split. The start wants a complete
        // path: the settings' own folder, never touched.
        const std::string_view path = settingsFile;
        return {std::string(path.substr(0, path.find_last_of('/') + 1)), true, settings.unreadable};
    }
    if (!settings.recordsFolder.empty()) {
        return {withTrailingSeparator(settings.recordsFolder), true, {}};
    }
#ifdef _WIN32
    // Older versions kept the record in the Windows directory, where only
    // administrators may write: their record joins the pupils' once.
    if (!sharedDir.empty()) {
        carryOverOlderRecord(ownDir, sharedDir, systemFileOperations());
    }
#else
    // The package makes the shared folder; run from elsewhere (the build
    // tree) the game keeps its user's own.
    if (::access(sharedDir.c_str(), W_OK | X_OK) != 0) {
        return {ownDir, false, {}};
    }
#endif
    return {withTrailingSeparator(sharedDir), false, {}};
}

Status reachFolder(const std::string& dir) {
    std::string reason;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(utf8ToWide(dir).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reason = windowsErrorReason(GetLastError());
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        reason = reasons::notADirectory;
    }
#else
    struct stat info {};
    if (::stat(dir.c_str(), &info) != 0) {
        reason = errnoReason(errno);
    } else if (!S_ISDIR(info.st_mode)) {
        reason = reasons::notADirectory;
    }
#endif
    return reason.empty() ? Status{}
                          : Status{"La cartella dei record \"" + dir +
                                       "\" non è raggiungibile: " + reason + ".",
                                   Action::reachFolder};
}

}  // namespace quimbra::records
