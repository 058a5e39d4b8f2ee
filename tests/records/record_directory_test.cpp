#include "records/record_directory.h"

#include <gtest/gtest.h>

#include <string>

#include "records/record_files.h"

namespace quimbra::records {
namespace {

std::string buffer128(const std::string& content) {
    std::string buffer(128, '\0');
    buffer.replace(0, content.size(), content);
    return buffer;
}

// The Windows directory: blanks trimmed, the first n characters, one "\" at
// the end; no NUL of the buffer ever gets into the path.
TEST(RecordDirectory, WindowsDirectoryFromBuffer) {
    const struct {
        std::string buffer;
        unsigned n;
        std::string expected;
    } cases[] = {
        {buffer128("C:\\WINDOWS"), 10, "C:\\WINDOWS\\"},
        {buffer128("C:\\"), 3, "C:\\"},
        {buffer128("  C:\\WIN"), 8, "C:\\WIN\\"},
        {buffer128("C:\\WINDOWS"), 2, "C:\\"},
        {buffer128(""), 0, "\\"},    // the call failed
        {buffer128(""), 200, "\\"},  // too long for the buffer: nothing written
        {std::string(128, 'W'), 128, std::string(128, 'W') + "\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsDirFromBuffer(c.buffer, c.n), c.expected) << c.n;
    }
}

// Elsewhere: $XDG_DATA_HOME/quimbra/ when it is an absolute path, else
// ~/.local/share/quimbra/, else nothing.
TEST(RecordDirectory, XdgDataHome) {
    const struct {
        const char* xdg;
        const char* home;
        std::string expected;
    } cases[] = {
        {"/data", "/home/anna", "/data/quimbra/"},
        {"/data//", "/home/anna", "/data/quimbra/"},
        {"/", "/home/anna", "/quimbra/"},
        {nullptr, "/home/anna", "/home/anna/.local/share/quimbra/"},
        {"", "/home/anna/", "/home/anna/.local/share/quimbra/"},
        {"dati", "/home/anna", "/home/anna/.local/share/quimbra/"},
        {nullptr, nullptr, ""},
        {"dati", "anna", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(xdgRecordDirectory(c.xdg, c.home), c.expected);
    }
}

// GetSystemDir names a given directory with exactly one separator at its end.
TEST(RecordDirectory, GivenDirectoryEndsInOneSeparator) {
#ifdef _WIN32
    const std::string dir = "C:\\q";
    const std::string sep = "\\";
#else
    const std::string dir = "/tmp/q";
    const std::string sep = "/";
#endif
    EXPECT_EQ(RecordFiles(dir).GetSystemDir(), dir + sep);
    EXPECT_EQ(RecordFiles(dir + sep).GetSystemDir(), dir + sep);
    EXPECT_EQ(RecordFiles("").GetSystemDir(), "");
}

}  // namespace
}  // namespace quimbra::records
