#include "records/record_directory.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <shlobj.h>

#include "records/code_page.h"
#else
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace quimbra::records {

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
#endif

std::vector<std::string> platformRecordDirectories() {
#ifdef _WIN32
    std::vector<std::string> dirs{platformRecordDirectory()};
    if (std::string shared = programDataRecordDirectory(); !shared.empty()) {
        dirs.push_back(shared);
    }
    return dirs;
#else
    return {platformRecordDirectory()};
#endif
}

}  // namespace quimbra::records
