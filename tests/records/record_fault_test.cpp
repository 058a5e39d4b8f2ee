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

    // The writer with the fault, each file operation taking slowMs at least;
    // its messages go to the file errors.
    pid_t start(const std::string& fault, std::string score, std::string name,
                const std::string& errors, int slowMs = 0) {
        std::vector<std::string> settings = {
            std::string("LD_PRELOAD=") + QUIMBRA_FAULT_INJECTION,
            // The preloaded library comes before the sanitizers' runtime.
            "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0",
            "QUIMBRA_FAULT=" + fault,
            "QUIMBRA_FAULT_DIR=" + dir_,
            "QUIMBRA_FAULT_FIRED=" + (root_ / "fired").string(),
            "QUIMBRA_SLOW=" + std::to_string(slowMs),
        };
        std::vector<char*> environment;
        for (std::string& setting : settings) {
            environment.push_back(setting.data());
        }
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string variable = std::string(*e).substr(0, std::string(*e).find('=') + 1);
            const bool ours = std::any_of(settings.begin(), settings.end(), [&](const auto& s) {
                return s.compare(0, variable.size(), variable) == 0;
            });
            if (!ours) {
                environment.push_back(*e);
            }
        }
        environment.push_back(nullptr);
        std::string program = QUIMBRA_RECORD_WRITER;
        char* arguments[] = {program.data(), dir_.data(), score.data(), name.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t child = 0;
        const int spawned =
            posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return -1;
        }
        return child;
    }

    // Waits at most limit for the writer.
    WriterRun finish(pid_t child, const std::string& errors, std::chrono::seconds limit) {
        WriterRun run;
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (child > 0 && ::waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                run.hung = true;
                return run;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        run.fired = fs::exists(root_ / "fired");
        run.outcome = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.message = bytesOf(errors);
        return run;
    }

    WriterRun write(const std::string& fault) {
        const std::string errors = (root_ / "errors").string();
        fs::remove(root_ / "fired");
        return finish(start(fault, "20", "Eva", errors), errors, std::chrono::seconds(20));
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
    faults.push_back({"write", -1});  // write() takes one byte only, once
    int injected = 0;
    for (const Fault& fault : faults) {
        bool fired = true;
        for (int n = 1; fired; ++n) {
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

            RecordFiles files(dir_);
            const Status restarted = files.createMissing(dir_);
            ASSERT_TRUE(restarted.ok()) << restarted.error;
            const std::string score = files.Leggifiletxt(scoreFilePath(dir_)).text;
            const std::string name = files.Leggifiletxt(nameFilePath(dir_)).text;
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

// Failures with one answer only: the lock file that cannot be examined is
// told at once, never taken for another game's lock; the folder's last sync
// failing (the sixth fsync) leaves a record the disk did not confirm.
TEST_F(RecordFaultTest, FailuresToldAsTheyAre) {
    const struct {
        const char* fault;
        Outcome outcome;
        std::string said;
    } cases[] = {
        {"fstat 0 5", Outcome::failed, "vondu.lock\": errore di lettura o scrittura"},
        {"fsync 6 5", Outcome::unsure, "Impossibile confermare la scrittura sul disco"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const auto started = std::chrono::steady_clock::now();
        const WriterRun run = write(c.fault);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        EXPECT_EQ(static_cast<Outcome>(run.outcome), c.outcome) << run.message;
        EXPECT_NE(run.message.find(c.said), std::string::npos) << run.message;
    }
}

// A class that ends together on a slow share (each file operation takes
// 150 ms): the eight games write in turn, none gives up waiting, and the
// best score stands beside its own name, its player told so.
TEST_F(RecordFaultTest, ClassEndingTogetherOnASlowShare) {
    put(scoreFilePath(dir_), "3\r\n");
    put(nameFilePath(dir_), "Primo\r\n");
    std::vector<pid_t> games;
    for (int score = 1; score <= 8; ++score) {
        games.push_back(start("none 0 0", std::to_string(score), "G" + std::to_string(score),
                              (root_ / std::to_string(score)).string(), 150));
    }
    for (int score = 1; score <= 8; ++score) {
        const WriterRun run =
            finish(games[static_cast<std::size_t>(score - 1)],
                   (root_ / std::to_string(score)).string(), std::chrono::seconds(120));
        ASSERT_FALSE(run.hung);
        const auto outcome = static_cast<Outcome>(run.outcome);
        EXPECT_TRUE(outcome == Outcome::written || (score < 8 && outcome == Outcome::notARecord))
            << score << ": " << run.outcome << " " << run.message;
    }
    EXPECT_EQ(bytesOf(scoreFilePath(dir_)), "8\r\n");
    EXPECT_EQ(bytesOf(nameFilePath(dir_)), "G8\r\n");
}

}  // namespace
}  // namespace quimbra::records

#endif
