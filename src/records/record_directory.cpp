#include "records/record_directory.h"

#include <optional>
#include <utility>

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
// What Windows (and Wine) say of a share that is away, which the record
// files' own reasons do not name.
constexpr DWORD shareAwayErrors[] = {
    ERROR_BAD_NETPATH,        ERROR_BAD_NET_NAME,        ERROR_BAD_DEV_TYPE,
    ERROR_NETNAME_DELETED,    ERROR_NETWORK_UNREACHABLE, ERROR_HOST_UNREACHABLE,
    ERROR_NO_NET_OR_BAD_PATH, ERROR_UNEXP_NET_ERR,       ERROR_SEM_TIMEOUT,
};

std::string folderErrorReason(DWORD error) {
    for (const DWORD away : shareAwayErrors) {
        if (error == away) {
            return "il server non risponde o la cartella condivisa non esiste";
        }
    }
    return windowsErrorReason(error);
}
#endif

// The system's operations with makeDirectories only checking that the
// folder is there.
class ExistingFolderOperations final : public FileOperations {
  public:
    ExistingFolderOperations() = default;
    // Operations that reach no folder at all, saying why: the setting that
    // names it could not be read.
    explicit ExistingFolderOperations(std::string refusal) : refusal_(std::move(refusal)) {}

    Status makeDirectories(const std::string& dir) override {
        if (!refusal_.empty()) {
            return {refusal_, Action::reachFolder};
        }
        std::string reason;
#ifdef _WIN32
        const DWORD attributes = GetFileAttributesW(utf8ToWide(dir).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            reason = folderErrorReason(GetLastError());
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
        if (reason.empty()) {
            return {};
        }
        return {"La cartella dei record \"" + dir + "\" non è raggiungibile: " + reason + ".",
                Action::reachFolder};
    }
    Status createEmptyIfMissing(const std::string& path) override {
        return system_.createEmptyIfMissing(path);
    }
    ReadBytes readStart(const std::string& path, std::size_t maxBytes) override {
        return system_.readStart(path, maxBytes);
    }
    Status checkReplaceable(const std::string& path) override {
        return system_.checkReplaceable(path);
    }
    Status writeNewFile(const std::string& path, std::string_view bytes) override {
        return system_.writeNewFile(path, bytes);
    }
    Status replaceFile(const std::string& from, const std::string& to) override {
        return system_.replaceFile(from, to);
    }
    Status appendLine(const std::string& path, std::string_view first,
                      std::string_view line) override {
        return system_.appendLine(path, first, line);
    }
    Status removeFile(const std::string& path) override {
        return system_.removeFile(path);
    }
    Status syncDirectory(const std::string& dir) override {
        return system_.syncDirectory(dir);
    }
    DirectoryList listDirectory(const std::string& dir) override {
        return system_.listDirectory(dir);
    }
    LockResult tryLock(const std::string& path) override {
        return system_.tryLock(path);
    }
    std::string uniqueTag() override {
        return system_.uniqueTag();
    }
    Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                  bool& taken) override {
        return system_.renameWithoutReplacing(from, to, taken);
    }

  private:
    FileOperations& system_ = systemFileOperations();
    std::string refusal_;
};

#ifdef _WIN32
// The two record files of an older installation, in olderDir, copied into
// recordsDir when it holds no record yet: under its lock and through its
// commit mark, so both arrive or neither. The originals stay.
void carryOverOlderRecord(const std::string& olderDir, const std::string& recordsDir,
                          FileOperations& files) {
    const ReadBytes score = files.readStart(scoreFilePath(olderDir), maxRecordFileBytes);
    const ReadBytes name = files.readStart(nameFilePath(olderDir), maxRecordFileBytes);
    // An empty score file holds no record; without both files there is no pair.
    if (!score.ok() || !name.ok() || score.bytes.empty()) {
        return;
    }
    const auto firstLine = [](const std::string& bytes) {
        const std::string text = fromSystemCodePage(bytes);
        return text.substr(0, text.find_first_of("\r\n"));
    };
    // Nothing to report: a record not carried now is carried at a later start.
    RecordFiles(recordsDir, files)
        .writeRecord(recordsDir, firstLine(score.bytes), firstLine(name.bytes),
                     [](const std::string& onDisk) { return onDisk.empty(); });
}
#endif

}  // namespace

std::string windowsDirFromBuffer(std::string_view buffer, unsigned n) {
    const std::size_t first = buffer.find_first_not_of(' ');
    std::string_view path =
        first == std::string_view::npos ? std::string_view{} : buffer.substr(first);
    const std::size_t last = path.find_last_not_of(' ');
    path = path.substr(0, last == std::string_view::npos ? 0 : last + 1);
    path = path.substr(0, n);
    path = path.substr(0, path.find('\0'));
    std::string dir(path);
    if (dir.empty() || dir.back() != '\\') {
        dir += '\\';
    }
    return dir;
}

std::string xdgRecordDirectory(const char* xdgDataHome, const char* home) {
    const auto withoutTrailingSlashes = [](std::string path) {
        while (!path.empty() && path.back() == '/') {
            path.pop_back();
        }
        return path;
    };
    std::string base;
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        base = withoutTrailingSlashes(xdgDataHome);
    } else if (home != nullptr && home[0] == '/') {
        base = withoutTrailingSlashes(home) + "/.local/share";
    } else {
        return {};
    }
    return base + "/quimbra/";
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
    if (base.empty()) {
        return {};
    }
    std::string utf8 = wideToUtf8(base);
    if (utf8.empty()) {
        return {};
    }
    if (utf8.back() != '\\') {
        utf8 += '\\';
    }
    return utf8 + "Quimbra\\";
}

RecordLocation platformRecordLocation(const Settings& settings) {
    return recordLocation(settings, programDataRecordDirectory(), platformRecordDirectory());
}
#else
RecordLocation platformRecordLocation(const Settings& settings) {
    return recordLocation(settings, sharedRecordDirectory, platformRecordDirectory());
}
#endif

RecordLocation recordLocation(const Settings& settings, const std::string& sharedDir,
                              const std::string& ownDir) {
    if (!settings.unreadable.empty()) {
        // The technician meant a folder that cannot be known: no other is
        // used, or the lab's record would split. The game plays without one.
        // The start wants a complete path; the settings' own folder is one,
        // never touched.
        static std::optional<ExistingFolderOperations> refused;
        refused.emplace(settings.unreadable);
        const std::string_view path = settingsFile;
        return {{std::string(path.substr(0, path.find_last_of('/') + 1))}, &*refused};
    }
    if (!settings.recordsFolder.empty()) {
        static ExistingFolderOperations existing;
        return {{withTrailingSeparator(settings.recordsFolder)}, &existing};
    }
    FileOperations& files = systemFileOperations();
#ifdef _WIN32
    // Older versions kept the record in the Windows directory, where only
    // administrators may write: their record joins the pupils' once.
    if (!sharedDir.empty()) {
        carryOverOlderRecord(ownDir, sharedDir, files);
    }
#else
    // The package makes the shared folder; run from elsewhere (the build
    // tree, a computer without the package) the game keeps its user's own.
    if (::access(sharedDir.c_str(), W_OK | X_OK) != 0) {
        return {{ownDir}, &files};
    }
#endif
    return {{withTrailingSeparator(sharedDir)}, &files};
}

}  // namespace quimbra::records
