// What only Windows has: the Windows directory, the ANSI code page of the
// files' text, wide-character paths, and files that another program holds
// open without sharing.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "records/code_page.h"
#include "records/record_directory.h"
#include "records/record_files.h"

// The program's own slot for FindNextFileW in its import table: a test puts
// a failing listing there, as a share that goes away gives one.
extern "C" decltype(&FindNextFileW) __imp_FindNextFileW;

namespace quimbra::records {
namespace {

std::wstring wide(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
    return out;
}

// The bytes the ANSI code page gives for a UTF-8 text, worked out here with
// the system's own conversion.
std::string ansi(const std::string& utf8) {
    const std::wstring text = wide(utf8);
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string readBytes(const std::string& path) {
    std::string bytes;
    const HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open " << path << ": error " << GetLastError();
        return bytes;
    }
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        bytes.append(buffer, n);
    }
    CloseHandle(file);
    return bytes;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path << ": error " << GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(file);
}

const BeatsRecord always = [](const std::string&) { return true; };

std::vector<std::string> namesIn(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(wide(dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            const int size = static_cast<int>(name.size());
            const int n =
                WideCharToMultiByte(CP_UTF8, 0, name.data(), size, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<std::size_t>(n), '\0');
            WideCharToMultiByte(CP_UTF8, 0, name.data(), size, utf8.data(), n, nullptr, nullptr);
            names.push_back(utf8);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A directory of the test's own under the user's temporary folder (a name
// with a non-ASCII letter, so wide-character paths are used throughout),
// removed with whatever it holds at the end.
class WindowsRecords : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0U);
        static unsigned counter = 0;
        const std::wstring name = std::wstring(temp) + L"quimbra-citt\u00e0-" +
                                  std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++counter);
        ASSERT_TRUE(CreateDirectoryW(name.c_str(), nullptr)) << "error " << GetLastError();
        const int size = static_cast<int>(name.size());
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, name.data(), size, nullptr, 0, nullptr, nullptr);
        dir_.assign(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, name.data(), size, dir_.data(), n, nullptr, nullptr);
        dir_ += '\\';
    }

    void TearDown() override {
        for (const std::string& name : namesIn(dir_)) {
            const std::wstring path = wide(dir_ + name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(wide(dir_).c_str());
    }

    std::string dir_;
};

bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The Windows directory of older versions: one that exists, ending in "\"
// (the only test that looks at the real Windows directory).
TEST(WindowsDirectory, NamesAnExistingDirectoryEndingInBackslash) {
    const std::string dir = platformRecordDirectory();
    ASSERT_GE(dir.size(), 4U) << dir;  // at least a drive, its root and a name: C:\X
    EXPECT_EQ(dir.back(), '\\') << dir;
    EXPECT_NE(dir[dir.size() - 2], '\\') << "doubled separator: " << dir;
    const DWORD attributes = GetFileAttributesW(wide(dir).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << dir << ": error " << GetLastError();
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0U) << dir;
    // Wine's Windows directory is always the same.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr) {
        EXPECT_EQ(
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, dir.c_str(), -1, "C:\\windows\\", -1),
            CSTR_EQUAL)
            << dir;
    }
}

// Every account, Wine's administrator too, who may write to C:\Windows,
// plays in %ProgramData%\Quimbra\. The record an older version left in the
// Windows directory is carried there once and left where it was.
TEST(WindowsDirectory, ProgramDataForEveryAccountWithTheOlderRecordCarriedOnce) {
    const std::string shared = programDataRecordDirectory();
    const std::string windows = platformRecordDirectory();
    if (!underWine()) {
        GTEST_SKIP() << "changes the Windows directory: only in Wine's test prefix";
    }
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, shared.c_str(), -1,
                             "C:\\ProgramData\\Quimbra\\", -1),
              CSTR_EQUAL)
        << shared;
    DeleteFileW(wide(scoreFilePath(shared)).c_str());
    writeBytes(nameFilePath(windows), "Nicol\xF2\r\n");
    for (const char* older : {"12\r\n", "15\r\n"}) {
        writeBytes(scoreFilePath(windows), older);
        EXPECT_EQ(RecordFiles().GetSystemDir(), shared);
        EXPECT_EQ(readBytes(scoreFilePath(shared)) + readBytes(nameFilePath(shared)),
                  "12\r\nNicol\xF2\r\n");
        EXPECT_EQ(readBytes(scoreFilePath(windows)), older);
    }
    for (const std::string& dir : {shared, windows}) {
        DeleteFileW(wide(scoreFilePath(dir)).c_str());
        DeleteFileW(wide(nameFilePath(dir)).c_str());
    }
}

// The files hold the text in the ANSI code page, one line ended by CR LF, and
// read back as the same UTF-8 text.
TEST_F(WindowsRecords, TextIsInTheAnsiCodePage) {
    RecordFiles storage(dir_);
    const std::string name = "Nicol\u00f2 \u00e8 bravo";
    ASSERT_TRUE(storage.writeRecord(dir_, "12", name, always).ok());

    EXPECT_EQ(readBytes(nameFilePath(dir_)), ansi(name) + "\r\n");
    EXPECT_EQ(readBytes(scoreFilePath(dir_)), "12\r\n");
    const ReadResult read = storage.Leggifiletxt(nameFilePath(dir_));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.text, name + "\r\n");
}

// Under code page 1252 (Wine's, and western Windows') a name is written with
// the same bytes as on other systems: one "?" for each character the code
// page cannot hold, never a look-alike.
TEST_F(WindowsRecords, Windows1252BytesAsOnOtherSystems) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the bytes below are Windows-1252; the code page is " << GetACP();
    }
    struct Case {
        const char* name;
        const char* bytes;
    };
    const Case cases[] = {
        {"Nicol\u00f2 \u00e8 bravo", "Nicol\xF2 \xE8 bravo"},
        {"\u20ac 5", "\x80 5"},
        {"\u0100nna", "?nna"},                  // A with macron: no best-fit "A"
        {"Zo\u00eb \U0001F600!", "Zo\xEB ?!"},  // outside the BMP: one "?", not one per half
        {"\u00c8 \u00e0", "\xC8 \xE0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toSystemCodePage(c.name), c.bytes);
        EXPECT_EQ(toSystemCodePage(c.name), utf8ToWindows1252(c.name));
        RecordFiles storage(dir_);
        ASSERT_TRUE(storage.writeRecord(dir_, "1", c.name, always).ok());
        EXPECT_EQ(readBytes(nameFilePath(dir_)), std::string(c.bytes) + "\r\n");
    }
}

// A file written by another Windows program in the code page reads as UTF-8.
TEST_F(WindowsRecords, AnsiBytesFromElsewhereReadAsUtf8) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the bytes below are Windows-1252; the code page is " << GetACP();
    }
    RecordFiles storage(dir_);
    writeBytes(nameFilePath(dir_), "Jos\xE9 d'\xC0ngelo\r\n");
    const ReadResult read = storage.Leggifiletxt(nameFilePath(dir_));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.text, "Jos\u00e9 d'\u00c0ngelo\r\n");
}

// Creating the missing files works in a directory whose name is not ASCII,
// and leaves a file that is there as it was.
TEST_F(WindowsRecords, CreateMissingInADirectoryWithANonAsciiName) {
    RecordFiles storage(dir_);
    writeBytes(scoreFilePath(dir_), "7\r\n");
    ASSERT_TRUE(storage.createMissing(dir_).ok());
    EXPECT_EQ(readBytes(scoreFilePath(dir_)), "7\r\n");
    EXPECT_EQ(readBytes(nameFilePath(dir_)), "");
}

// The policy value, REG_SZ or REG_EXPAND_SZ, names the only folder, never
// made: a share that is away is named at the start, and no record is made
// anywhere else.
TEST_F(WindowsRecords, PolicyFolderAndNoOther) {
    if (!underWine()) {
        GTEST_SKIP() << "sets a machine-wide value: only in Wine's test prefix";
    }
    const std::string away = "\\\\nessunserver\\quimbra\\";
    SetEnvironmentVariableW(L"QUIMBRA_TEST_DIR", wide(dir_).c_str());
    const struct {
        DWORD type;
        std::string value;
        std::string folder;
    } cases[] = {{REG_SZ, dir_ + " ", dir_},
                 {REG_EXPAND_SZ, "%QUIMBRA_TEST_DIR%", dir_},
                 {REG_SZ, away, away}};
    for (const auto& c : cases) {
        const std::wstring value = wide(c.value);
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", L"RecordsFolder",
                            c.type, value.c_str(), static_cast<DWORD>(value.size() * 2 + 2)),
            ERROR_SUCCESS);
        RecordFiles storage;
        EXPECT_EQ(storage.GetSystemDir(), c.folder);
        const Status created = storage.createMissing(c.folder);
        storage.Leggifiletxt(nameFilePath(c.folder));
        EXPECT_EQ(created.ok(), c.folder == dir_) << created.error;
        EXPECT_EQ(created.error.find(away + "\" non è raggiungibile: il server non risponde") !=
                      std::string::npos,
                  c.folder == away);
        EXPECT_EQ(GetFileAttributesW(wide(scoreFilePath(programDataRecordDirectory())).c_str()),
                  INVALID_FILE_ATTRIBUTES);
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", L"RecordsFolder");
    const DWORD off = 0;  // ClassSheet = 0 beside it turns the class sheet off
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", L"ClassSheet", REG_DWORD,
                    &off, sizeof off);
    // ReadAloud = 1 and ReadAloudRate = 60 turn the voice on, slower.
    const DWORD on = 1, rate = 60;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", L"ReadAloud", REG_DWORD,
                    &on, sizeof on);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", L"ReadAloudRate", REG_DWORD,
                    &rate, sizeof rate);
    const Settings settings = technicianSettings();
    EXPECT_FALSE(settings.classSheet);
    EXPECT_TRUE(settings.readAloud);
    EXPECT_EQ(settings.readAloudRate, 60);
    for (const wchar_t* name : {L"ClassSheet", L"ReadAloud", L"ReadAloudRate"}) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", name);
    }
}

// A record that cannot be written on Windows (a file held open by another
// program without sharing, a read-only file) fails with a reason naming the
// file, and loses nothing: both old files stay as they were, byte for byte,
// and no temporary file is left behind.
// A game in another process that tries the lock once, as every waiter does,
// then tries to delete the lock file, and ends: exit code 0 when it found the
// lock busy.
DWORD waiterInAnotherProcess(const std::string& dir) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) +
        L"\" --gtest_filter=WindowsRecords.BlockedWriteIsReportedAndLosesNothing";
    SetEnvironmentVariableW(L"QUIMBRA_LOCK_WAITER", wide(dir).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 2;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(L"QUIMBRA_LOCK_WAITER", nullptr);
    return code;
}

// Also the lock held by one game while a game of another process waited for
// it: the waiter leaves the holder's lock file as it was (never deleted nor
// to be deleted), so a third game is refused only while the lock is held.
TEST_F(WindowsRecords, BlockedWriteIsReportedAndLosesNothing) {
    if (wchar_t waiter[MAX_PATH] = {};
        GetEnvironmentVariableW(L"QUIMBRA_LOCK_WAITER", waiter, MAX_PATH) > 0) {
        const std::wstring lock = std::wstring(waiter) + L"vondu.lock";
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, lock.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string path(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, lock.c_str(), -1, path.data(), n, nullptr, nullptr);
        path.pop_back();
        const bool busy = systemFileOperations().lockFile(path, std::chrono::milliseconds(0)).busy;
        DeleteFileW(lock.c_str());  // as any user may try
        ExitProcess(busy ? 0 : 1);
    }
    enum class Block { holdOpen, readOnly, lockHeld };
    struct Case {
        const char* what;
        bool scoreFile;  // else the name file
        Block block;
    };
    const Case cases[] = {
        {"score file held open without sharing", true, Block::holdOpen},
        {"name file held open without sharing", false, Block::holdOpen},
        {"score file read-only", true, Block::readOnly},
        {"name file read-only", false, Block::readOnly},
        {"lock held, waited for by another process", false, Block::lockHeld},
    };
    const std::string oldScore = "12\r\n";
    const std::string oldName = "Anna\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string score = scoreFilePath(dir_);
        const std::string name = nameFilePath(dir_);
        SetFileAttributesW(wide(score).c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(wide(name).c_str(), FILE_ATTRIBUTE_NORMAL);
        writeBytes(score, oldScore);
        writeBytes(name, oldName);
        const std::string blocked = c.block == Block::lockHeld ? dir_ + lockFileName
                                    : c.scoreFile              ? score
                                                               : name;

        HANDLE held = INVALID_HANDLE_VALUE;
        LockResult lock;
        if (c.block == Block::lockHeld) {
            lock = systemFileOperations().lockFile(blocked, std::chrono::milliseconds(0));
            ASSERT_TRUE(lock.ok()) << lock.status.error;
            EXPECT_EQ(waiterInAnotherProcess(dir_), 0U);
            // Nor can the waiter, or anyone, delete it meanwhile: a game after
            // them finds the lock taken, never a new lock file of its own.
            EXPECT_TRUE(
                systemFileOperations().lockFile(blocked, std::chrono::milliseconds(0)).busy);
            const HANDLE third =
                CreateFileW(wide(blocked).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            EXPECT_EQ(third == INVALID_HANDLE_VALUE ? GetLastError() : 0U, 0U)
                << "the holder's lock file deleted or doomed";
            FILE_STANDARD_INFO state{};
            GetFileInformationByHandleEx(third, FileStandardInfo, &state, sizeof state);
            EXPECT_FALSE(state.DeletePending) << "the holder's lock file doomed";
            CloseHandle(third);
        } else if (c.block == Block::holdOpen) {
            held = CreateFileW(wide(blocked).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();
        } else {
            ASSERT_TRUE(SetFileAttributesW(wide(blocked).c_str(), FILE_ATTRIBUTE_READONLY));
        }

        RecordFiles storage(dir_);
        storage.setLockWait(std::chrono::milliseconds(200));
        const WriteResult written = storage.writeRecord(dir_, "30", "Marco", always);
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        EXPECT_FALSE(written.ok());
        EXPECT_NE(written.error.find(blocked), std::string::npos) << written.error;

        EXPECT_EQ(readBytes(score), oldScore);
        EXPECT_EQ(readBytes(name), oldName);
        std::vector<std::string> names = namesIn(dir_);
        std::erase(names, std::string(lockFileName));  // it stays, and is no lock by itself
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"nvondu.txt", "vondu.txt"}));

        // Once the file is free again the same record is written.
        SetFileAttributesW(wide(blocked).c_str(), FILE_ATTRIBUTE_NORMAL);
        lock.lock.reset();
        ASSERT_TRUE(storage.writeRecord(dir_, "30", "Marco", always).ok());
        EXPECT_EQ(readBytes(score), "30\r\n");
        EXPECT_EQ(readBytes(name), "Marco\r\n");
    }
}

// Games ending at once (threads here: a lock belongs to a handle, so they
// contend as processes do): the highest score is on disk with its own name,
// and no mark or temporary file is left.
TEST_F(WindowsRecords, GamesEndingAtOnce) {
    for (int round = 0; round < 10; ++round) {
        writeBytes(scoreFilePath(dir_), "3\r\n");
        writeBytes(nameFilePath(dir_), "Primo\r\n");
        std::vector<std::thread> games;
        std::atomic<int> told{0};
        for (int score = 1; score <= 6; ++score) {
            games.emplace_back([&, score] {
                RecordFiles storage(dir_);
                const auto beats = [score](const std::string& onDisk) {
                    return score > std::atoi(onDisk.c_str());
                };
                const WriteResult written = storage.writeRecord(dir_, std::to_string(score),
                                                                "G" + std::to_string(score), beats);
                told += written.ok() || written.outcome == WriteResult::Outcome::notARecord;
            });
        }
        for (std::thread& game : games) {
            game.join();
        }
        EXPECT_EQ(told.load(), 6);
        EXPECT_EQ(readBytes(scoreFilePath(dir_)), "6\r\n");
        EXPECT_EQ(readBytes(nameFilePath(dir_)), "G6\r\n");
        std::vector<std::string> names = namesIn(dir_);
        std::sort(names.begin(), names.end());
        std::erase(names, std::string(lockFileName));
        EXPECT_EQ(names, (std::vector<std::string>{"nvondu.txt", "vondu.txt"}));
    }
}

BOOL WINAPI cutShort(HANDLE, LPWIN32_FIND_DATAW) {
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

void setFindNext(decltype(&FindNextFileW) findNext) {
    DWORD old = 0;
    VirtualProtect(&__imp_FindNextFileW, sizeof findNext, PAGE_READWRITE, &old);
    __imp_FindNextFileW = findNext;
    VirtualProtect(&__imp_FindNextFileW, sizeof findNext, old, &old);
}

// A listing cut short by an error is a failed one, and it is said. The
// commit mark is opened, never looked up in a listing, so the record it
// decided is finished all the same; only the leftovers wait.
TEST_F(WindowsRecords, CutShortListingIsReported) {
    writeBytes(scoreFilePath(dir_), "12\r\n");
    writeBytes(dir_ + commitMarkName, "77-1-1\r\n");
    writeBytes(temporaryPath(nameFilePath(dir_), "77-1-1"), "Eva\r\n");
    const decltype(&FindNextFileW) real = __imp_FindNextFileW;
    setFindNext(cutShort);
    const Status started = RecordFiles(dir_).createMissing(dir_);
    setFindNext(real);
    EXPECT_NE(started.error.find(dir_), std::string::npos) << started.error;
    EXPECT_EQ(readBytes(nameFilePath(dir_)), "Eva\r\n");
    std::vector<std::string> names = namesIn(dir_);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"nvondu.txt", "vondu.lock", "vondu.txt"}));
}

// A leftover temporary file that another program holds open is no obstacle:
// each write has temporary names of its own.
TEST_F(WindowsRecords, HeldTemporaryFileDoesNotStopTheWrite) {
    const std::string score = scoreFilePath(dir_);
    const std::string name = nameFilePath(dir_);
    writeBytes(score, "12\r\n");
    writeBytes(name, "Anna\r\n");
    const std::string temporary = temporaryPath(name, "77-1-1");
    const HANDLE held = CreateFileW(wide(temporary).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();

    RecordFiles storage(dir_);
    const WriteResult written = storage.writeRecord(dir_, "30", "Marco", always);
    CloseHandle(held);
    EXPECT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(readBytes(score), "30\r\n");
    EXPECT_EQ(readBytes(name), "Marco\r\n");
}

}  // namespace
}  // namespace quimbra::records

#endif
