#include "records/record_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "records/file_errors.h"
#include "records/record_files.h"
#include "support/hooked_files.h"

namespace quimbra::records {
namespace {

const BeatsRecord always = [](const std::string&) { return true; };

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

// makeDirectories walks the folders below the root, which it never creates,
// each once however the separators are doubled; only a root is absolute.
TEST(RecordDirectory, FoldersBelowTheRoot) {
    const struct {
        std::string dir;
        std::vector<std::string> folders;
        bool absolute;
    } cases[] = {
#ifdef _WIN32
        {"C:\\a\\\\b\\", {"C:\\a", "C:\\a\\\\b"}, true},
        {"\\\\server\\share\\a\\", {"\\\\server\\share\\a"}, true},
        {"C:\\", {}, true},
        {"\\", {}, false},
        {"q\\r", {"q", "q\\r"}, false},
#else
        {"/a//b/", {"/a", "/a//b"}, true},
        {"/", {}, true},
        {"q/r", {"q", "q/r"}, false},
#endif
    };
    for (const auto& c : cases) {
        EXPECT_EQ(foldersOf(c.dir), c.folders) << c.dir;
        EXPECT_EQ(isAbsolutePath(c.dir), c.absolute) << c.dir;
    }
}

// The settings' text: the last line of a key decides, only a clear no turns
// the class sheet off, reading aloud is off unless asked for, an empty value
// is the default again, and a line that is not a known key, or a rate out of
// bounds, is refused whole, naming the line.
TEST(RecordDirectory, SettingsFromText) {
    const struct {
        std::string text;
        bool classSheet;
        std::string refusal;  // empty when the text is taken
        bool readAloud = false;
        int rate = 80;
    } cases[] = {
        {"read-aloud = yes\nread-aloud-rate = 60", true, "", true, 60},
        {"read-aloud = yes\nread-aloud =\nread-aloud-rate = 200\nread-aloud-rate=", true, ""},
        {"read-aloud = Off\nread-aloud-rate = 50", true, "", false, 50},
        {"read-aloud = yes\nread-aloud-rate = 49", true,
         "la riga 2 imposta read-aloud-rate a \"49\", ma va da 50 a 200"},
        {"read-aloud-rate = -80", true, "la riga 1 imposta read-aloud-rate a \"-80\""},
        {"read-aloud-rate = 99999", true, "la riga 1 imposta read-aloud-rate a \"99999\""},
        {"# class-sheet = no\n", true, ""},
        {"class-sheet=0\n class-sheet = OFF \r\n", false, ""},
        {"class-sheet = no\nclass-sheet = yes", true, ""},
        {"class-sheet = 0", false, ""},
        {"\xEF\xBB\xBF"
         "class-sheet = no\n",
         false, ""},
        {"#\nclass-sheets = no\n", true, "la riga 2 imposta \"class-sheets\", che non"},
        {"class-sheet\n", true, "la riga 1 non è né un commento né un'impostazione"},
    };
    for (const auto& c : cases) {
        const Settings settings = settingsFromText(c.text, "/q.conf");
        EXPECT_EQ(settings.classSheet, c.classSheet) << c.text;
        EXPECT_EQ(settings.readAloud, c.readAloud) << c.text;
        EXPECT_EQ(settings.readAloudRate, c.rate) << c.text;
        EXPECT_EQ(settings.unreadable.find("\"/q.conf\": " + c.refusal) != std::string::npos,
                  !c.refusal.empty())
            << settings.unreadable;
    }
}

#ifndef _WIN32
// The folder of the setting's last records-folder line, and no other, never
// made (a share not mounted must not become a local folder); without one,
// the shared folder where the user may write; else the user's own. A
// settings file that cannot be read or understood is told, and no folder is
// used (the teacher's window shows none): a byte-order mark and a setting
// after the first 64 KiB are read, a missing file is no settings.
TEST(RecordDirectory, SettingThenSharedFolderThenUsersOwn) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / std::to_string(std::random_device{}());
    const std::string share = (root / "share/").string(), shared = (root / "shared/").string();
    const std::string own = (root / "quimbra/").string(), refused = "/etc/quimbra/";
    const std::string conf = (root / "conf").string();
    const struct {
        std::optional<std::string> settings;  // no file when nullopt
        std::string made;                     // before the start
        std::string chosen;
        bool sheetOff = false;
    } cases[] = {
        {"# records-folder=/a\n records-folder = /b\t\r\nrecords-folder=" + share, share, share},
        {"records-folder=" + share, "", share},
        {"records-folder=" + share + "\nrecords-folder=\n", shared, shared},
        {"", "", own},
        {std::nullopt, "", own},
        {"\xEF\xBB\xBFrecords-folder=" + share + "\nclass-sheet = no", share, share, true},
        {std::string(70000, '#') + "\nrecords-folder=" + share + "\nclass-sheet=no", share, share,
         true},
        {std::string(maxSettingsBytes, '#') + "\nrecords-folder=" + share, share, refused},
        {"records-folder " + share, shared, refused},
        {"records_folder = " + share, share, refused},
        {"Records-Folder = " + share, share, refused},
        {"", "conf/", refused}};
    for (const auto& c : cases) {
        fs::remove_all(root);
        fs::create_directories(root / c.made);
        if (c.settings) {
            std::ofstream(conf) << *c.settings;
        }
        const Settings settings = settingsFromFile(conf);
        const RecordLocation location = recordLocation(settings, shared, own);
        RecordFiles files(location);
        const std::string trace = c.settings.value_or("(no file)").substr(0, 80);
        // Written where it was chosen, so that a wrong choice writes nothing
        // outside the test's folder.
        const std::string dir = files.GetSystemDir();
        EXPECT_EQ(dir, c.chosen) << trace;
        EXPECT_EQ(settings.unreadable.empty(), c.chosen != refused) << trace;
        EXPECT_EQ(settings.classSheet, !c.sheetOff) << trace;
        const WriteResult written = files.writeRecord(dir, "7", "Anna", always);
        EXPECT_EQ(fs::exists(scoreFilePath(dir)), written.ok()) << written.error;
        EXPECT_EQ(written.error.find(c.chosen + "\" non è raggiungibile") != std::string::npos,
                  c.made.empty() && c.chosen == share);
        EXPECT_EQ(written.error.find("Non riesco a leggere il file delle impostazioni \"" + conf) !=
                      std::string::npos,
                  c.chosen == refused);
        EXPECT_EQ(fs::exists(own), c.chosen == own);
    }
    fs::remove_all(root);
}
#endif

}  // namespace
}  // namespace quimbra::records
