// Reads arbitrary bytes as a record file, and (for inputs starting with "W")
// writes the decoded text as a name and reads it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "records/code_page.h"
#include "records/record_files.h"

using namespace quimbra::records;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What the code page makes of bytes on a round trip: the bytes it does not
// define, and NUL, come back as "?".
std::string expectedRoundTrip(const std::string& bytes) {
    std::string out = bytes;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            c = '?';
        }
    }
    return out;
}

// The record files in memory: the fuzzer exercises decoding and the write's
// logic, not the disk, and no input waits for a sync.
class MemoryFiles final : public FileOperations {
  public:
    Status makeDirectories(const std::string&) override { return {}; }
    Status createEmptyIfMissing(const std::string& path) override {
        files_.try_emplace(path);
        return {};
    }
    ReadBytes readStart(const std::string& path, std::size_t maxBytes) override {
        const auto found = files_.find(path);
        if (found == files_.end()) {
            return {{}, "missing", true};
        }
        return {found->second.substr(0, maxBytes), {}};
    }
    Status checkReplaceable(const std::string&) override { return {}; }
    Status writeNewFile(const std::string& path, std::string_view bytes) override {
        check(files_.emplace(path, std::string(bytes)).second);
        return {};
    }
    Status replaceFile(const std::string& from, const std::string& to) override {
        const auto found = files_.find(from);
        check(found != files_.end());
        files_[to] = found->second;
        files_.erase(from);
        return {};
    }
    Status appendLine(const std::string& path, std::string_view first,
                      std::string_view line) override {
        files_[path] += std::string(files_[path].empty() ? first : "") + std::string(line);
        return {};
    }
    Status removeFile(const std::string& path) override {
        files_.erase(path);
        return {};
    }
    Status syncDirectory(const std::string&) override { return {}; }
    DirectoryList listDirectory(const std::string& dir) override {
        DirectoryList list;
        for (const auto& [path, bytes] : files_) {
            list.names.push_back(path.substr(dir.size()));
        }
        return list;
    }
    LockResult tryLock(const std::string&) override { return {std::make_unique<FileLock>(), {}}; }
    std::string uniqueTag() override { return "1"; }
    Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                  bool& taken) override {
        taken = files_.contains(to);
        return taken ? Status{"taken", Action::replace} : replaceFile(from, to);
    }

    std::map<std::string, std::string> files_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = "/quimbra/";
    static MemoryFiles memory;
    static RecordFiles files(dir, memory);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string score = scoreFilePath(dir);

    memory.files_.clear();
    memory.files_[score] = bytes;
    const ReadResult read = files.Leggifiletxt(score);
    check(read.ok());
    check(read.text.find('\0') == std::string::npos);
    const std::string start = bytes.substr(0, maxRecordFileBytes);
    check(utf8ToWindows1252(read.text) == expectedRoundTrip(start));

    const std::string line = utf8ToWindows1252(oneLine(bytes));
    check(line.size() <= bytes.size());
    for (const char c : line) {
        check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    }

    if (size > 0 && bytes[0] == 'W') {
        const auto always = [](const std::string&) { return true; };
        check(files.writeRecord(dir, "1", read.text, always).ok());
        check(memory.files_.size() == 2);
        const ReadResult name = files.Leggifiletxt(nameFilePath(dir));
        check(name.ok());
        // A name longer than a record file is read is read back cut short.
        const std::string written = utf8ToWindows1252(oneLine(read.text)) + "\r\n";
        check(name.text == windows1252ToUtf8(written.substr(0, maxRecordFileBytes)));
    }
    return 0;
}
