// What the file operations of every system share.
#include "records/file_operations.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <utility>

#include "records/file_errors.h"
#include "records/lock_wait.h"

namespace quimbra::records {
namespace {

#ifdef _WIN32
constexpr std::string_view separators = "\\/";
#else
constexpr std::string_view separators = "/";
#endif

bool isSeparator(char c) {
    return separators.find(c) != std::string_view::npos;
}

// "/", "C:\" or "\\server\share\" (never created); 0 for a relative path.
std::size_t rootLength(const std::string& path) {
#ifdef _WIN32
    if (path.size() >= 3 && path[1] == ':' && isSeparator(path[2])) {
        const char drive = path[0];
        return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z') ? 3 : 0;
    }
    if (path.size() <= 2 || !isSeparator(path[0]) || !isSeparator(path[1])) {
        return 0;
    }
    std::size_t end = 2;
    for (int seen = 0; end < path.size() && seen < 2; ++end) {
        seen += isSeparator(path[end]) ? 1 : 0;
    }
    return end;
#else
    return !path.empty() && isSeparator(path[0]) ? 1 : 0;
#endif
}

}  // namespace

LockResult FileOperations::lockFile(const std::string& path, std::chrono::milliseconds wait) {
    return LockWait(wait).take([&] { return tryLock(path); }, {});
}

// The salt tells apart two games with one process id on the computers of a share.
std::string FileOperations::uniqueTag() {
    static std::atomic<unsigned> counter{0};
    static const unsigned salt = std::random_device{}();
    return std::to_string(::getpid()) + "-" + std::to_string(salt % 1000000) + "-" +
           std::to_string(++counter);
}

std::string appendedBytes(std::uint64_t size, std::string_view tail, std::string_view first,
                          std::string_view line) {
    std::string bytes(size == 0 ? first : tail == "\r\n" ? "" : "\r\n");
    bytes += line;
    return bytes;
}

LockResult busyLock(const std::string& path, std::string holder) {
    return {nullptr, failed(Action::lock, path, reasons::lockBusy), true, std::move(holder)};
}

std::string temporaryPath(const std::string& path, const std::string& tag) {
    return path + "." + tag + ".tmp";
}

std::string withTrailingSeparator(std::string dir) {
    if (!dir.empty() && !isSeparator(dir.back())) {
        dir += separators.front();
    }
    return dir;
}

bool isAbsolutePath(const std::string& path) {
    return rootLength(path) != 0;
}

std::vector<std::string> foldersOf(const std::string& dir) {
    const std::size_t root = rootLength(dir);
    std::vector<std::string> folders;
    for (std::size_t end = root; end < dir.size(); ++end) {
        end = std::min(dir.find_first_of(separators, end), dir.size());
        // "a//b/" holds the folders "a" and "a//b".
        if (end > root && !isSeparator(dir[end - 1])) {
            folders.push_back(dir.substr(0, end));
        }
    }
    return folders;
}

}  // namespace quimbra::records
