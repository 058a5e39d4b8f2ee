#include "records/record_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "records/file_errors.h"
#include "records/lock_wait.h"
#include "support/hooked_files.h"

namespace quimbra::records {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A temporary file as a write that never finished leaves it.
std::string leftover(const std::string& recordPath) {
    return temporaryPath(recordPath, "77-1-1");
}

const BeatsRecord always = [](const std::string&) { return true; };

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh directory under the system's temporary directory, removed afterwards.
class RecordFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        do {
            root_ = fs::temp_directory_path() / ("quimbra-records-" + std::to_string(random()));
        } while (!fs::create_directory(root_));
        dir_ = (root_ / "").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path score() const { return scoreFilePath(dir_); }
    fs::path name() const { return nameFilePath(dir_); }
    void putRecord(const std::string& scoreBytes, const std::string& nameBytes) {
        put(score(), scoreBytes);
        put(name(), nameBytes);
    }
    void expectRecord(const std::string& scoreBytes, const std::string& nameBytes) {
        EXPECT_EQ(bytesOf(score()), scoreBytes);
        EXPECT_EQ(bytesOf(name()), nameBytes);
        std::vector<std::string> names = namesIn(root_);
        // A lock file left in place (as on Windows) is no lock by itself.
        std::erase_if(names, [](const std::string& n) {
            return n.find("vondu.") == n.npos || n == lockFileName;
        });
        EXPECT_EQ(names, (std::vector<std::string>{"nvondu.txt", "vondu.txt"}));
    }

    fs::path root_;
    std::string dir_;
    RecordFiles files_{"unused"};
};

// First run: the directory (parents included) and both files are created empty.
TEST_F(RecordFilesTest, FirstRunCreatesBothFilesEmpty) {
    const std::string dir = RecordFiles((root_ / "a" / "b" / "quimbra").string()).GetSystemDir();
    ASSERT_TRUE(files_.createMissing(dir).ok());
    for (const std::string& path : {scoreFilePath(dir), nameFilePath(dir)}) {
        EXPECT_TRUE(fs::is_regular_file(path));
        EXPECT_EQ(fs::file_size(path), 0u);
        const ReadResult read = files_.Leggifiletxt(path);
        EXPECT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.text, "");
    }
}

// Start-up never changes a file that exists, whatever it holds.
TEST_F(RecordFilesTest, StartUpLeavesExistingFilesUnchanged) {
    const std::string odd = std::string("\x81\0abc", 5);
    const std::string large(70000, '1');
    for (const auto& [scoreBytes, nameBytes] :
         {std::pair{std::string("12\r\n"), std::string("Anna\r\n")}, std::pair{odd, large}}) {
        putRecord(scoreBytes, nameBytes);
        ASSERT_TRUE(files_.createMissing(dir_).ok());
        expectRecord(scoreBytes, nameBytes);
    }
}

// Reading gives the whole content, line end included; damaged files read
// without harm, the first 64 KiB of a larger one.
TEST_F(RecordFilesTest, ReadsWholeContentAndDamagedFiles) {
    const std::string cut(maxRecordFileBytes, '9');
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"12\r\n", "12\r\n"},
        {"", ""},
        {"7", "7"},
        {cut + "9", cut},
        {std::string("1\0"
                     "2\r\n",
                     5),
         "1\xEF\xBF\xBD"
         "2\r\n"},
        {"\x81\r\n", "\xEF\xBF\xBD\r\n"},
        {"Bern\xE8\r\n", "Bern\xC3\xA8\r\n"},
    };
    for (const auto& c : cases) {
        put(score(), c.bytes);
        const ReadResult read = files_.Leggifiletxt(score().string());
        EXPECT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.text, c.text);
    }
}

// A new record replaces both files with exactly one line each, in
// Windows-1252, control characters as blanks, and reads back as written.
TEST_F(RecordFilesTest, WriteReplacesBothFilesWithOneLine) {
    const struct {
        std::string name;
        std::string onDisk;
        std::string readBack;
    } cases[] = {
        {"Eva", "Eva\r\n", "Eva\r\n"},
        {"", "\r\n", "\r\n"},
        {"Niccol\xC3\xB2 \xC3\xA8", "Niccol\xF2 \xE8\r\n", "Niccol\xC3\xB2 \xC3\xA8\r\n"},
        {"Lu\tc\xC4\x81\r\nX", "Lu c?  X\r\n", "Lu c?  X\r\n"},
    };
    for (const auto& c : cases) {
        putRecord("3\r\nresto\r\n", "Un nome vecchio e lungo\r\n");
        const WriteResult status = files_.writeRecord(dir_, "15", c.name, always);
        ASSERT_TRUE(status.ok()) << status.error;
        expectRecord("15\r\n", c.onDisk);
        EXPECT_EQ(files_.Leggifiletxt(name().string()).text, c.readBack);
    }
}

constexpr const char* injected = "Guasto simulato.";

// The real file system, except that writing a file whose path starts with
// failWrite fails, leaving a partial file (the worst a crash can leave), and
// so does replacing the file failReplace.
quimbra::testing::HookedFiles failing(const std::string& failWrite,
                                      const std::string& failReplace) {
    return quimbra::testing::HookedFiles([=](const std::string& operation,
                                             const std::string& path) -> Status {
        if (operation == "writeNewFile" && !failWrite.empty() && path.rfind(failWrite, 0) == 0) {
            systemFileOperations().writeNewFile(path, "1");
            return {injected};
        }
        return {operation == "replaceFile" && path == failReplace ? injected : ""};
    });
}

// A failure anywhere before the files are replaced leaves both old files as
// they were and no temporary file; it is reported, never taken for success.
TEST_F(RecordFilesTest, FailedWriteLeavesBothOldFiles) {
    const struct {
        bool score;  // which file's step fails
        bool replace;
    } cases[] = {{true, false}, {false, false}, {true, true}};
    for (const auto& c : cases) {
        putRecord("12\r\n", "Anna\r\n");
        const std::string path = (c.score ? score() : name()).string();
        quimbra::testing::HookedFiles operations =
            c.replace ? failing("", path) : failing(path + ".", "");
        const WriteResult status =
            RecordFiles(dir_, operations).writeRecord(dir_, "20", "Eva", always);
        EXPECT_EQ(status.outcome, WriteResult::Outcome::failed);
        EXPECT_EQ(status.error, injected);
        expectRecord("12\r\n", "Anna\r\n");
    }
}

// A failure after the score file was replaced (the name file's replacement)
// leaves the decision on disk: the new score is there, and the next start
// puts the new name beside it. It is reported as such, never as a success.
// Also when the start's listing is a stale one (a share's cache) without the mark.
TEST_F(RecordFilesTest, FailedNameReplacementIsFinishedAtTheNextStart) {
    for (const bool stale : {false, true}) {
        putRecord("12\r\n", "Anna\r\n");
        quimbra::testing::HookedFiles operations = failing("", name().string());
        const WriteResult status =
            RecordFiles(dir_, operations).writeRecord(dir_, "20", "Eva", always);
        EXPECT_EQ(status.outcome, WriteResult::Outcome::pending);
        EXPECT_NE(status.error.find(injected), std::string::npos);
        EXPECT_NE(status.error.find("Il punteggio \u00e8 stato registrato"), std::string::npos);
        quimbra::testing::HookedFiles cached(
            [](const std::string&, const std::string&) { return Status{}; });
        cached.hidden = stale ? commitMarkName : "";
        RecordFiles starting(dir_, cached);
        ASSERT_TRUE(starting.createMissing(dir_).ok());
        EXPECT_EQ(starting.Leggifiletxt(name().string()).text, "Eva\r\n") << stale;
        expectRecord("20\r\n", "Eva\r\n");
    }
}

// A rename that a share did but reported failed (its reply lost), the
// folder's listing failing after it: the files tell it was done, never undone
// to the new score beside the old name. A commit mark already there when
// this game writes its own (another computer's, that a stale listing hid) is
// not this game's to remove: the next start finishes that computer's record.
TEST_F(RecordFilesTest, RenameDoneButReportedFailed) {
    const struct {
        std::string lost, name;
    } cases[] = {{"vondu.txt", "Eva\r\n"}, {"nvondu.txt", "Eva\r\n"}, {commitMarkName, "Zoe\r\n"}};
    for (const auto& c : cases) {
        putRecord("12\r\n", "Anna\r\n");
        bool after = false;
        quimbra::testing::HookedFiles operations(
            [&](const std::string& step, const std::string& path) {
                if (path != dir_ + c.lost || (step != "replaceFile" && step != "writeNewFile")) {
                    return Status{after && step == "listDirectory" ? injected : ""};
                }
                after = true;
                if (c.lost == commitMarkName) {  // halfway through its own renames
                    putRecord("20\r\n", "Anna\r\n");
                    put(root_ / "nvondu.txt.1-2-3.tmp", c.name);
                    put(root_ / commitMarkName, "1-2-3\r\n");
                    return Status{};
                }
                for (const std::string& n : namesIn(root_)) {
                    if (n.rfind(c.lost + ".", 0) == 0) {
                        fs::rename(root_ / n, root_ / c.lost);  // this game's temporary file
                    }
                }
                return Status{injected};
            });
        EXPECT_EQ(RecordFiles(dir_, operations).writeRecord(dir_, "20", "Eva", always).ok(),
                  c.lost != commitMarkName);
        ASSERT_TRUE(files_.createMissing(dir_).ok());
        expectRecord("20\r\n", c.name);
    }
}

// A directory where a record file or the commit mark should be: reported by
// every operation (naming it), and neither it nor the other file is changed;
// the game's row is added all the same. A forged mark whose temporary file is
// a directory is no decision: the record is written.
TEST_F(RecordFilesTest, DirectoryInPlaceOfFile) {
    const struct {
        fs::path folder;
        bool forgedMark;
    } cases[] = {{name(), false},
                 {root_ / commitMarkName, false},
                 {temporaryPath(name().string(), "1-2-3"), true}};
    for (const auto& c : cases) {
        put(score(), "12\r\n");
        fs::create_directory(c.folder);
        put(c.folder / "dentro.txt", "x");
        if (c.forgedMark) {
            put(root_ / commitMarkName, "1-2-3\r\n");
        }
        const Status created = files_.createMissing(dir_);
        const ReadResult read = files_.Leggifiletxt(name().string());
        const GameEndResult ended = files_.endGame(
            dir_, "20", "Eva", always, {"d", "t", "Eva", 6, 1, 7, "05:00", false, "PC"});
        EXPECT_EQ(ended.sheetError, "") << c.folder;
        EXPECT_NE(bytesOf(classSheetPath(dir_)).find(";Eva;"), std::string::npos) << c.folder;
        EXPECT_EQ(ended.record.ok(), c.forgedMark) << ended.record.error;
        // The name file is not there to read when the mark is a folder.
        for (const std::string* error : {&created.error, &read.error, &ended.record.error}) {
            if (!c.forgedMark && (c.folder == name() || error != &read.error)) {
                EXPECT_NE(error->find(c.folder.string() + "\": al suo posto c'\u00e8 una cartella"),
                          std::string::npos)
                    << *error;
            }
        }
        EXPECT_EQ(bytesOf(score()), c.forgedMark ? "20\r\n" : "12\r\n");
        EXPECT_EQ(bytesOf(c.folder / "dentro.txt"), "x");
        fs::remove_all(c.folder);
        fs::remove(classSheetPath(dir_));
    }
}

// A file where the directory should be, or a directory that names no place
// of its own (empty, relative): reported, nothing created or changed.
TEST_F(RecordFilesTest, UnusableDirectory) {
    put(root_ / "blocco", "dati");
    const std::string blocked = RecordFiles((root_ / "blocco" / "quimbra").string()).GetSystemDir();
    for (const std::string& dir : {blocked, std::string(), std::string("quimbra-relativa/")}) {
        EXPECT_FALSE(files_.createMissing(dir).ok()) << dir;
        EXPECT_FALSE(files_.writeRecord(dir, "20", "Eva", always).ok()) << dir;
    }
    EXPECT_NE(files_.createMissing(blocked).error.find("non è una cartella"), std::string::npos);
    EXPECT_EQ(bytesOf(root_ / "blocco"), "dati");
    EXPECT_FALSE(fs::exists("quimbra-relativa"));
    EXPECT_FALSE(files_.Leggifiletxt("vondu.txt").ok());
    EXPECT_NE(files_.Leggifiletxt(score().string()).error.find("non esiste"), std::string::npos);
}

// Temporary files left by an unfinished write are never read as the record:
// removed at start-up, and no obstacle to the next write.
TEST_F(RecordFilesTest, LeftoverTemporaryFiles) {
    putRecord("12\r\n", "Anna\r\n");
    put(leftover(score().string()), "99\r\n");
    put(leftover(name().string()), "Intruso\r\n");
    ASSERT_TRUE(files_.createMissing(dir_).ok());
    expectRecord("12\r\n", "Anna\r\n");
    EXPECT_EQ(files_.Leggifiletxt(score().string()).text, "12\r\n");

    put(leftover(name().string()), "Intruso\r\n");
    ASSERT_TRUE(files_.writeRecord(dir_, "20", "Eva", always).ok());
    expectRecord("20\r\n", "Eva\r\n");

    // One that cannot be removed is no obstacle either: each write has
    // temporary names of its own.
    fs::create_directory(leftover(name().string()));
    EXPECT_TRUE(files_.writeRecord(dir_, "30", "Ugo", always).ok());
    EXPECT_EQ(bytesOf(score()), "30\r\n");
    EXPECT_EQ(bytesOf(name()), "Ugo\r\n");
}

// Another game holding the record files: the write waits a bounded time,
// then fails and says so, changing nothing. Once they are free, the write
// goes through and leaves no lock file behind.
// However busy the holder makes the folder look, the wait has an end.
TEST_F(RecordFilesTest, BusyLockIsAReportedFailure) {
    putRecord("12\r\n", "Anna\r\n");
    for (const bool touching : {false, true}) {
        const LockResult held = systemFileOperations().lockFile(
            withTrailingSeparator(dir_) + lockFileName, std::chrono::milliseconds(0));
        ASSERT_TRUE(held.ok()) << held.status.error;
        std::thread toucher([&] {
            for (int i = 0; touching && i < 150; ++i) {
                fs::create_directory(root_ / "tocco") || fs::remove(root_ / "tocco");
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        RecordFiles waiting(dir_);
        waiting.setLockWait(std::chrono::milliseconds(300));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(waiting.createMissing(dir_).ok());
        const WriteResult written = waiting.writeRecord(dir_, "20", "Eva", always);
        // The start's wait and the end's together: one game waits the cap at most.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
        EXPECT_EQ(written.outcome, WriteResult::Outcome::failed);
        EXPECT_NE(written.error.find("un'altra partita"), std::string::npos) << written.error;
        toucher.join();
    }
    expectRecord("12\r\n", "Anna\r\n");
    ASSERT_TRUE(files_.writeRecord(dir_, "20", "Eva", always).ok());
    expectRecord("20\r\n", "Eva\r\n");
}

// The one wait policy of every system, on a clock of its own: a lock that
// is free or fails is told at once; one holder is waited for a while, a
// queue of holders up to the cap, which the waits of one game share.
TEST(LockWait, HoldersTurnsAndTheCap) {
    using std::chrono::milliseconds;
    const struct {
        std::function<std::string(long long)> holderAt;  // "" free, "!" an error
        bool got;
        long long waited;  // milliseconds, less than one pause more
    } cases[] = {
        {[](long long) { return ""; }, true, 0},
        {[](long long) { return "!"; }, false, 0},
        {[](long long) { return "A"; }, false, 100},
        {[](long long t) { return std::to_string(t / 30); }, false, 600},
        {[](long long t) { return t < 250 ? std::to_string(t / 30) : ""; }, true, 250},
    };
    for (const auto& c : cases) {
        std::chrono::steady_clock::time_point now{};
        const auto start = now;
        LockWait wait(milliseconds(100), {[&] { return now; }, [&](milliseconds p) { now += p; }});
        const auto attempt = [&]() -> LockResult {
            const std::string holder =
                c.holderAt(std::chrono::duration_cast<milliseconds>(now - start).count());
            if (holder.empty()) {
                return {std::make_unique<FileLock>(), {}};
            }
            return {nullptr, {"x"}, holder != "!", holder};
        };
        for (const bool again : {false, true}) {
            int told = 0;
            const auto begun = now;
            const LockResult result = wait.take(attempt, [&] { ++told; });
            const long long waited = std::chrono::duration_cast<milliseconds>(now - begun).count();
            if (!again) {
                EXPECT_EQ(result.ok(), c.got) << c.waited;
                EXPECT_GE(waited, c.waited);
                EXPECT_LT(waited, c.waited + 20);
                EXPECT_EQ(told, c.waited > 0 ? 1 : 0);
            } else if (c.waited == 600) {  // the game's waits have reached the cap
                EXPECT_EQ(waited + told, 0);
            }
        }
    }
}

// A row as a spreadsheet opens it: ';' between the fields, quoted as RFC
// 4180 says, the last one always, a leading '\'' before what would start a
// formula, and the time played as a duration.
TEST(ClassSheetFormat, RowsQuotedAndGuarded) {
    // Each name, then its field.
    const std::string names[] = {
        "Rossi; Ada", "\"Rossi; Ada\"", "Il \"Bello\"", "\"Il \"\"Bello\"\"\"",
        "=1+1",       "'=1+1",          "-3",           "'-3",
        "\rA",        "\"'\rA\"",       "a=b",          "a=b",
        "@SUM(A1)",   "'@SUM(A1)",      "+39",          "'+39"};
    for (std::size_t i = 0; i < std::size(names); i += 2) {
        EXPECT_EQ(formatSheetRow({"2026-12-08", "10:42", names[i], 7, 2, 9, "03:15", true, "PC;1"}),
                  "2026-12-08;10:42;" + names[i + 1] + ";7;2;9;0:03:15;sì;\"PC;1\"\r\n");
    }
    EXPECT_EQ(classSheetHeader().substr(0, 12), "\uFEFFData;Ora;");
}

// The end of a game adds its row beside the record it kept: an empty sheet
// gets the header first (a new one: ManyGamesEndingAtOnce), a row cut short
// is ended first; what is no plain file of its own is left alone and
// reported, naming it, the record kept all the same. Turned off, the sheet
// is not touched.
TEST_F(RecordFilesTest, ClassSheetRowBesideTheRecord) {
    const std::string header = classSheetHeader(), row = "d;t;Eva;6;1;7;0:05:00;sì;\"PC\"\r\n";
    const fs::path sheet = classSheetPath(dir_);
    const struct {
        std::string before, after;
        const char* refused;
    } cases[] = {
        {"", header + row, nullptr},
        {"d;t;Ad", "d;t;Ad\r\n" + row, nullptr},
        {"d;t;Ad\r\n", "d;t;Ad\r\n" + row, nullptr},
#ifndef _WIN32
        {"draft", "d\r\n" + row, nullptr},  // a second name left by a game killed creating it
#endif
        {"dir", "", reasons::directoryInPlace},
        {"ro", "ro", reasons::readOnlyFile},
#ifndef _WIN32
        {"link", "", reasons::linkInPlace},
#endif
    };
    for (const auto& c : cases) {
        putRecord("5\r\n", "Anna\r\n");
        if (c.before == "dir") {
            fs::create_directory(sheet);
        } else if (c.before == "link") {
            fs::create_symlink(root_ / "altrove.csv", sheet);
        } else if (c.before == "draft") {
            put(sheet, "d\r\n");
            fs::create_hard_link(sheet, sheet.string() + ".77-1-1.tmp");
        } else {
            put(sheet, c.before);
            fs::permissions(sheet, c.before == "ro" ? fs::perms::owner_read : fs::perms::owner_all);
        }
        const GameEndResult ended = files_.endGame(
            dir_, "6", "Eva", always, {"d", "t", "Eva", 6, 1, 7, "05:00", false, "PC"});
        expectRecord("6\r\n", "Eva\r\n");
        EXPECT_EQ(ended.sheetError,
                  c.refused ? failureMessage(Action::write, sheet.string(), c.refused) : "");
        EXPECT_EQ(fs::is_regular_file(sheet) ? bytesOf(sheet) : "", c.after) << c.before;
        std::error_code ignored;  // a link's target is never touched
        fs::permissions(sheet, fs::perms::owner_all, ignored);
        fs::remove(sheet);
    }
    files_.setClassSheet(false);
    files_.endGame(dir_, "7", "Eva", {}, {});
    EXPECT_FALSE(fs::exists(sheet));
}

#ifndef _WIN32
// At write time as at start-up: a record file made read-only (root could
// write it anyway) or a FIFO in its place is left alone, and said so.
TEST_F(RecordFilesTest, ReadOnlyFileOrFifoAtWriteTime) {
    for (const bool fifo : {false, true}) {
        putRecord("12\r\n", "Anna\r\n");
        if (fifo) {
            fs::remove(name());
            ASSERT_EQ(::mkfifo(name().c_str(), 0600), 0);
        } else {
            fs::permissions(name(), fs::perms::owner_read | fs::perms::group_read);
        }
        const Status started = files_.createMissing(dir_);
        EXPECT_NE(
            started.error.find(name().string() + "\": " +
                               (fifo ? "non è un file normale" : "il file è di sola lettura")),
            std::string::npos)
            << started.error;
        const WriteResult written = files_.writeRecord(dir_, "20", "Eva", always);
        EXPECT_EQ(written.outcome, WriteResult::Outcome::failed);
        EXPECT_NE(written.error.find(fifo ? "non è un file normale" : "sola lettura"),
                  std::string::npos)
            << written.error;
        EXPECT_EQ(bytesOf(score()), "12\r\n");
        EXPECT_TRUE(fifo ? fs::is_fifo(name()) : bytesOf(name()) == "Anna\r\n");
        fs::remove(name());
    }
    // In a folder every user shares, all that is anyone's doing: it counts
    // as no record, is never followed, and the next record replaces it.
    fs::permissions(root_, fs::perms::all);
    fs::permissions(score(), fs::perms::owner_read);
    ASSERT_EQ(::mkfifo(name().c_str(), 0600), 0);
    put(root_ / "altrove", "1-2-3\r\n");
    fs::create_symlink(root_ / "altrove", root_ / lockFileName);
    fs::create_symlink(root_ / "altrove", root_ / commitMarkName);
    bool told = false;  // replacing the planted lock keeps nobody waiting
    EXPECT_EQ(files_.createMissing(dir_, [&] { told = true; }).error, "");
    EXPECT_FALSE(told);
    ASSERT_TRUE(files_.writeRecord(dir_, "20", "Eva", always).ok());  // the FIFO then gone
    expectRecord("20\r\n", "Eva\r\n");
    EXPECT_EQ(bytesOf(root_ / "altrove"), "1-2-3\r\n");
}

// Links in place of record or temporary files are never written through: a
// new record replaces the link itself, and start-up creates no link target.
TEST_F(RecordFilesTest, LinksAreNotFollowedForWriting) {
    const fs::path target = root_ / "altrove.txt";
    put(target, "5\r\n");
    fs::create_symlink(target, score());
    fs::create_symlink(root_ / "inesistente.txt", name());

    const Status created = files_.createMissing(dir_);
    EXPECT_NE(created.error.find(name().string()), std::string::npos) << created.error;
    EXPECT_FALSE(fs::exists(root_ / "inesistente.txt"));
    EXPECT_EQ(files_.Leggifiletxt(score().string()).text, "5\r\n");

    const fs::path other = root_ / "altro.txt";
    put(other, "intatto");
    fs::create_symlink(other, leftover(name().string()));
    ASSERT_TRUE(files_.writeRecord(dir_, "6", "Eva", always).ok());
    EXPECT_FALSE(fs::is_symlink(score()));
    EXPECT_FALSE(fs::is_symlink(name()));
    expectRecord("6\r\n", "Eva\r\n");
    EXPECT_EQ(bytesOf(target), "5\r\n");
    EXPECT_EQ(bytesOf(other), "intatto");
}

// A FIFO in place of a record file is reported, without waiting for a writer.
TEST_F(RecordFilesTest, FifoInPlaceOfFile) {
    ASSERT_EQ(::mkfifo(score().c_str(), 0600), 0);
    EXPECT_NE(files_.createMissing(dir_).error.find("non è un file normale"), std::string::npos);
    EXPECT_NE(files_.Leggifiletxt(score().string()).error.find("non è un file normale"),
              std::string::npos);
}
#endif

}  // namespace
}  // namespace quimbra::records
