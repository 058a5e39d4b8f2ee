// The record writer with real system calls failing under it (a preloaded
// library, see fault_injection.cpp): each of open, write, fsync, close,
// rename and unlink, at each of its calls, with each errno a disk can give.
// Root is stopped by these as by a failing disk.
#if !defined(_WIN32) && defined(QUIMBRA_RECORD_WRITER)

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "records/record_files.h"

extern char** environ;

namespace quimbra::records {
namespace {

namespace fs = std::filesystem;
using Outcome = WriteResult::Outcome;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct WriterRun {
    bool fired = false;
    bool hung = false;
    int outcome = -1;
    std::string message;
};

class RecordFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quimbra-fault-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        dir_ = (root_ / "records" / "").string();
        fs::create_directory(dir_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // The writer with the fault; waits at most 20 seconds for it.
    WriterRun write(const std::string& fault) {
        const std::string fired = (root_ / "fired").string();
        const std::string errors = (root_ / "errors").string();
        fs::remove(fired);
        std::vector<std::string> settings = {
            std::string("LD_PRELOAD=") + QUIMBRA_FAULT_INJECTION,
            // The preloaded library comes before the sanitizers' runtime.
            "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0",
            "QUIMBRA_FAULT=" + fault,
            "QUIMBRA_FAULT_DIR=" + dir_,
            "QUIMBRA_FAULT_FIRED=" + fired,
        };
        std::vector<char*> environment;
        for (std::string& setting : settings) {
            environment.push_back(setting.data());
        }
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string name = std::string(*e).substr(0, std::string(*e).find('=') + 1);
            const bool ours = std::any_of(settings.begin(), settings.end(), [&](const auto& s) {
                return s.compare(0, name.size(), name) == 0;
            });
            if (!ours) {
                environment.push_back(*e);
            }
        }
        environment.push_back(nullptr);
        std::string program = QUIMBRA_RECORD_WRITER;
        std::string score = "20";
        std::string name = "Eva";
        char* arguments[] = {program.data(), dir_.data(), score.data(), name.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t child = 0;
        WriterRun run;
        const int spawned =
            posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return run;
        }
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (::waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                run.hung = true;
                return run;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        run.fired = fs::exists(fired);
        run.outcome = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.message = bytesOf(errors);
        return run;
    }

    fs::path root_;
    std::string dir_;
};

// Whatever call fails: the child is told the truth (success only with the new
// pair on disk), and after the next start the pair is the old one or the new
// one, nothing is left behind, and nothing hangs.
TEST_F(RecordFaultTest, EveryFailingCall) {
    const std::vector<int> errors = {EIO, ENOSPC, EDQUOT, EACCES, EROFS, EFBIG};
    struct Fault {
        std::string call;
        int error;
    };
    std::vector<Fault> faults;
    for (const char* call : {"open", "write", "fsync", "close", "rename", "unlink", "fstat"}) {
        for (const int error : errors) {
            faults.push_back({call, error});
        }
    }
    faults.push_back({"write", 0});   // write() takes nothing, once
    faults.push_back({"write", -1});  // write() takes one byte, once
    int injected = 0;
    for (const Fault& fault : faults) {
        bool fired = true;
        // fstat failing every time (n = 0): the lock file cannot be examined.
        for (int n = fault.call == "fstat" ? 0 : 1; fired; ++n) {
            const std::string what =
                fault.call + " " + std::to_string(n) + " " + std::to_string(fault.error);
            SCOPED_TRACE(what);
            put(scoreFilePath(dir_), "12\r\n");
            put(nameFilePath(dir_), "Anna\r\n");
            const WriterRun run = write(what);
            ASSERT_FALSE(run.hung);
            fired = run.fired;
            injected += fired ? 1 : 0;
            const auto outcome = static_cast<Outcome>(run.outcome);
            ASSERT_TRUE(outcome == Outcome::written || outcome == Outcome::unsure ||
                        outcome == Outcome::pending || outcome == Outcome::failed)
                << run.outcome << " " << run.message;
            if (outcome != Outcome::written) {
                EXPECT_NE(run.message.find("\""), std::string::npos) << run.message;
            }
            if (!fired) {
                EXPECT_EQ(outcome, Outcome::written) << run.message;
            }
            EXPECT_EQ(run.message.find("un'altra partita"), std::string::npos) << "none here";
            if (what == "fsync 6 5") {  // the folder's last sync
                EXPECT_EQ(outcome, Outcome::unsure) << run.message;
            }

            const StoredRecord restarted = RecordFiles(dir_).readRecord(dir_);
            ASSERT_TRUE(restarted.ok()) << restarted.status.error;
            const std::string& score = restarted.score;
            const std::string& name = restarted.name;
            const bool isNew = score == "20\r\n" && name == "Eva\r\n";
            EXPECT_TRUE(isNew || (score == "12\r\n" && name == "Anna\r\n")) << score << name;
            EXPECT_EQ(isNew, outcome != Outcome::failed) << run.message;
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(dir_)) {
                names.push_back(entry.path().filename().string());
            }
            std::sort(names.begin(), names.end());
            EXPECT_EQ(names, (std::vector<std::string>{"nvondu.txt", "vondu.txt"}));
            if (HasFailure()) {
                return;
            }
        }
    }
    EXPECT_GT(injected, 100);
}

}  // namespace
}  // namespace quimbra::records

#endif
