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

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

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

  private:
    FileOperations& system_ = systemFileOperations();
    std::string refusal_;
};

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

std::string recordsFolderSetting(std::string_view settingsText) {
    std::string folder;
    while (!settingsText.empty()) {
        const std::size_t end = settingsText.find('\n');
        const std::string_view line = trimmed(settingsText.substr(0, end));
        settingsText = end == std::string_view::npos ? "" : settingsText.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        if (trimmed(line.substr(0, equals)) == "records-folder") {
            folder = trimmed(line.substr(equals + 1));
        }
    }
    return folder;
}

std::optional<bool> classSheetSetting(std::string_view settingsText) {
    std::optional<bool> on;
    while (!settingsText.empty()) {
        const std::size_t end = settingsText.find('\n');
        const std::string_view line = trimmed(settingsText.substr(0, end));
        settingsText = end == std::string_view::npos ? "" : settingsText.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos ||
            trimmed(line.substr(0, equals)) != "class-sheet") {
            continue;
        }
        std::string value(trimmed(line.substr(equals + 1)));
        for (char& c : value) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        on = value != "no" && value != "off" && value != "false" && value != "0";
    }
    return on;
}

ClassSheetState classSheetEnabled() {
#ifdef _WIN32
    if (policyClassSheet() == false) {
        return {false,
                "Il registro della classe è spento: il tecnico ha posto il criterio ClassSheet "
                "a 0 (HKLM\\SOFTWARE\\Policies\\Quimbra)."};
    }
#else
    const ReadBytes settings = systemFileOperations().readStart(settingsFile, 64 * 1024);
    if (classSheetSetting(settings.bytes) == false) {
        return {false, std::string("Il registro della classe è spento: il tecnico ha scritto "
                                   "\"class-sheet = no\" in ") +
                           settingsFile + "."};
    }
#endif
    return {};
}

FileOperations& existingFolderOperations() {
    static ExistingFolderOperations operations;
    return operations;
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

std::string policyRecordsFolder() {
    const wchar_t* key = L"SOFTWARE\\Policies\\Quimbra";
    // RRF_RT_REG_SZ takes REG_EXPAND_SZ too, expanded.
    std::wstring value(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, key, L"RecordsFolder",
                                            RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return {};
        }
        value.resize(value.find(L'\0') == std::wstring::npos ? value.size() : value.find(L'\0'));
        const std::string folder(trimmed(wideToUtf8(value)));
        return folder.empty() ? folder : withTrailingSeparator(folder);
    }
    return {};
}

std::optional<bool> policyClassSheet() {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", L"ClassSheet",
                     RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value != 0;
}

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

RecordLocation platformRecordLocation() {
    if (std::string folder = policyRecordsFolder(); !folder.empty()) {
        return {{folder}, &existingFolderOperations()};
    }
    // Older versions kept the record in the Windows directory, where only
    // administrators may write: their record joins the pupils' once.
    const std::string shared = programDataRecordDirectory();
    FileOperations& files = systemFileOperations();
    if (!shared.empty()) {
        carryOverOlderRecord(platformRecordDirectory(), shared, files);
    }
    return {{shared}, &files};
}
#else
// Why the settings' text cannot be understood, "" when it can: each line
// is blank, a comment or "key = value".
std::string settingsFault(std::string_view text) {
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? "" : text.substr(end + 1);
        if (!line.empty() && line.front() != '#' && line.find('=') == std::string_view::npos) {
            return "la riga " + std::to_string(number) + " non è né un commento né un'impostazione";
        }
    }
    return {};
}

RecordLocation recordLocation(const std::string& settingsPath, const std::string& sharedDir,
                              const std::string& ownDir) {
    // The whole file, however long, up to a size no settings file reaches.
    constexpr std::size_t maxSettingsBytes = 1024 * 1024;
    ReadBytes settings = systemFileOperations().readStart(settingsPath, maxSettingsBytes + 1);
    std::string fault;
    if (!settings.ok() && !settings.missing) {
        // The reason only: the message names the file its own way.
        const std::size_t reason = settings.error.rfind("\": ");
        fault = settings.error.substr(reason + 3, settings.error.size() - reason - 4);
    } else if (settings.bytes.size() > maxSettingsBytes) {
        fault = "il file è troppo grande";
    } else {
        // A byte-order mark, which some Windows editors put first.
        if (settings.bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
            settings.bytes.erase(0, 3);
        }
        fault = settingsFault(settings.bytes);
    }
    if (!fault.empty()) {
        // The technician meant a folder that cannot be known: no other is
        // used, or the lab's record would split. The game plays without one.
        static std::optional<ExistingFolderOperations> refused;
        refused.emplace("Non riesco a leggere il file delle impostazioni \"" + settingsPath +
                        "\": " + fault + ". Chiedi aiuto al tecnico della scuola.");
        const std::size_t slash = settingsPath.find_last_of('/');
        return {{settingsPath.substr(0, slash + 1)}, &*refused};
    }
    if (const std::string folder = recordsFolderSetting(settings.bytes); !folder.empty()) {
        return {{withTrailingSeparator(folder)}, &existingFolderOperations()};
    }
    // The package makes the shared folder; run from elsewhere (the build
    // tree, a computer without the package) the game keeps its user's own.
    if (::access(sharedDir.c_str(), W_OK | X_OK) == 0) {
        return {{withTrailingSeparator(sharedDir)}, &systemFileOperations()};
    }
    return {{ownDir}, &systemFileOperations()};
}

RecordLocation platformRecordLocation() {
    return recordLocation(settingsFile, sharedRecordDirectory, platformRecordDirectory());
}
#endif

}  // namespace quimbra::records
