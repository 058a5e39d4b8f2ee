// Reads arbitrary bytes as a record file, and (for inputs starting with "W")
// writes the decoded text as a name and reads it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

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

// A directory of its own, in memory where the system has one: every write of
// a record waits for the disk.
std::string makeDirectory() {
    namespace fs = std::filesystem;
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::current_path();
    std::string pattern = (base / "quimbra-fuzz-XXXXXX").string();
    check(::mkdtemp(pattern.data()) != nullptr);
    static const fs::path made = pattern;
    std::atexit([] { fs::remove_all(made); });
    return (made / "").string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = makeDirectory();
    static RecordFiles files(dir);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string score = scoreFilePath(dir);

    std::ofstream(score, std::ios::binary | std::ios::trunc) << bytes;
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
        check(files.writeRecord(dir, "1", read.text).ok());
        const ReadResult name = files.Leggifiletxt(nameFilePath(dir));
        check(name.ok());
        check(name.text == windows1252ToUtf8(utf8ToWindows1252(oneLine(read.text))) + "\r\n");
    }
    return 0;
}
