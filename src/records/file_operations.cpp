// What the file operations of every system share.
#include "records/file_operations.h"

#include "records/lock_wait.h"

namespace quimbra::records {

LockResult FileOperations::lockFile(const std::string& path, std::chrono::milliseconds wait) {
    return LockWait(wait).take([&] { return tryLock(path); }, {});
}

std::string appendedBytes(std::uint64_t size, std::string_view tail, std::string_view first,
                          std::string_view line) {
    std::string bytes(size == 0 ? first : tail == "\r\n" ? "" : "\r\n");
    bytes += line;
    return bytes;
}

}  // namespace quimbra::records
