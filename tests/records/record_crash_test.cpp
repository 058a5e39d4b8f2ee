// A record write killed, or failing, at each of its file operations, and
// many games writing at once: the pair on disk is always one game's score
// beside the same game's name. The writers are child processes running the
// real records code.
#ifndef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "records/class_sheet.h"
#include "records/file_errors.h"
#include "records/record_files.h"
#include "support/hooked_files.h"

namespace quimbra::records {
namespace {

namespace fs = std::filesystem;
using Outcome = WriteResult::Outcome;

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The system's operations, except that the chosen one (counted from 1) kills
// the process before it is done, or fails with an I/O error.
struct Tripwire {
    Tripwire(int at, bool kill)
        : files([this, at, kill](const std::string&, const std::string& path) -> Status {
              if (++calls != at) {
                  return {};
              }
              if (kill) {
                  std::raise(SIGKILL);
              }
              return {failureMessage(Action::write, path, errnoReason(EIO)), Action::write};
          }) {}
    int calls = 0;
    quimbra::testing::HookedFiles files;
};

const BeatsRecord always = [](const std::string&) { return true; };

class RecordCrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // On a disk, not in memory: its syncs take time, so writes overlap.
        const fs::path base = fs::is_directory("/var/tmp") ? "/var/tmp" : fs::temp_directory_path();
        std::string pattern = (base / "quimbra-crash-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        dir_ = (root_ / "").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    void putRecord(const std::string& score, const std::string& name) {
        put(scoreFilePath(dir_), score);
        put(nameFilePath(dir_), name);
    }

    // Starts as a new game does; returns the pair it shows.
    std::pair<std::string, std::string> restart() {
        const StoredRecord read = RecordFiles(dir_).readRecord(dir_);
        EXPECT_TRUE(read.ok()) << read.status.error;
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_)) {
            names.push_back(entry.path().filename().string());
        }
        std::erase(names, std::string(classSheetFileName));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"nvondu.txt", "vondu.txt"}))
            << "nothing left behind";
        return {read.score, read.name};
    }

    fs::path root_;
    std::string dir_;
};

// For every file operation of a record write: killed just before it, then
// started again, the pair is the old one or the new one, never a mix, and
// nothing is left behind; failing at it (an I/O error), the pair after a
// restart is the one the child was told of.
TEST_F(RecordCrashTest, KilledOrFailingAtEveryOperation) {
    const std::pair<std::string, std::string> oldPair{"12\r\n", "Anna\r\n"};
    const std::pair<std::string, std::string> newPair{"20\r\n", "Eva\r\n"};
    for (const bool kill : {true, false}) {
        std::map<bool, int> seen;  // new pair or not, how often
        bool finished = false;
        for (int at = 1; !finished && at < 100; ++at) {
            SCOPED_TRACE(std::string(kill ? "killed before" : "failing at") + " operation " +
                         std::to_string(at));
            putRecord(oldPair.first, oldPair.second);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                Tripwire tripwire(at, kill);
                RecordFiles files(dir_, tripwire.files);
                const WriteResult written = files.writeRecord(dir_, "20", "Eva", always);
                std::_Exit(static_cast<int>(written.outcome) + (tripwire.calls < at ? 10 : 0));
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            const auto pair = restart();
            EXPECT_TRUE(pair == oldPair || pair == newPair) << pair.first << pair.second;
            ++seen[pair == newPair];
            if (kill && WIFSIGNALED(status)) {
                EXPECT_EQ(WTERMSIG(status), SIGKILL);
                continue;
            }
            ASSERT_TRUE(WIFEXITED(status));
            finished = WEXITSTATUS(status) >= 10;
            const auto outcome = static_cast<Outcome>(WEXITSTATUS(status) % 10);
            const bool claimedNew = outcome == Outcome::written || outcome == Outcome::unsure ||
                                    outcome == Outcome::pending;
            EXPECT_TRUE(claimedNew || outcome == Outcome::failed);
            EXPECT_EQ(pair == newPair, claimedNew) << "outcome " << static_cast<int>(outcome);
        }
        EXPECT_TRUE(finished);
        EXPECT_GT(seen[true], 1) << "some crashes are finished at the next start";
        EXPECT_GT(seen[false], 1) << "some leave the old pair";
    }
}

// A game starting: reads the pair, and exits with 1 when it is mixed
// ("Primo" holds only the initial record).
void startGame(const std::string& dir, int initial) {
    const StoredRecord read = RecordFiles(dir).readRecord(dir);
    const int shown = std::atoi(read.score.c_str());
    if (!read.ok() || read.name != (shown == initial ? std::string("Primo")
                                                     : "Giocatore " + std::to_string(shown)) +
                                       "\r\n") {
        std::_Exit(1);
    }
}

// A game: starts, then ends, writing the score (its name derived from it)
// and its row in the class sheet, each file operation taking slowMs more,
// and tells how it went, as a line "score outcome record-it-was-compared-with".
std::string playGame(const std::string& dir, int score, int initial, int slowMs) {
    startGame(dir, initial);
    quimbra::testing::HookedFiles slowed([slowMs](const std::string&, const std::string&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
        return Status{};
    });
    RecordFiles files(dir, slowed);
    const auto beats = [score](const std::string& onDisk) {
        return score > std::atoi(onDisk.c_str());
    };
    const WriteResult written =
        files
            .endGame(dir, std::to_string(score), "Giocatore " + std::to_string(score), beats,
                     {"2026-12-08", "10:42", "G", score, 1, score + 1, "15:00", false, "PC"})
            .record;
    return std::to_string(score) + ' ' + std::to_string(static_cast<int>(written.outcome)) + ' ' +
           std::to_string(std::atoi(written.recordOnDisk.c_str())) + '\n';
}

// Games with different scores and names start and end at once, again and
// again; in the first round every file operation takes 150 ms, as on a busy
// share, and none gives up waiting. Each game reads one game's pair at its
// start and compares under the lock with the record on disk at its end:
// those that beat it are told of success, the others see the record that
// beat them. The successes form one chain, each beating the one before; the
// last is on disk, with its own name; nothing is left behind. Then (as
// root) the same with the games of two users, who share the folder as every
// user (0777) or as a group (2770), each with a umask of 022.
TEST_F(RecordCrashTest, ManyGamesEndingAtOnce) {
    constexpr int writers = 8;
    constexpr int rounds = 30;
    constexpr int sharedRounds = 8;  // for each kind of shared folder
    std::mt19937 random(20261208);
    for (int round = 0; round < rounds + 2 * sharedRounds && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const bool shared = round >= rounds;
        const int phaseStart = !shared                         ? 0
                               : round < rounds + sharedRounds ? rounds
                                                               : rounds + sharedRounds;
        const ::mode_t folder = !shared ? 0 : phaseStart == rounds ? 0777 : 02770;
        if (folder != 0 && ::geteuid() != 0) {
            GTEST_SKIP() << "two users' games need root";
        }
        (void)!::chown(root_.c_str(), 0, 61000);
        (void)!::chmod(root_.c_str(), folder != 0 ? folder : 0700);
        if (round == phaseStart) {
            // Each kind of folder begins its own sheet, as a new shared one would.
            fs::remove(root_ / classSheetFileName);
        }
        const int initial = static_cast<int>(random() % 10);
        putRecord(std::to_string(initial) + "\r\n", "Primo\r\n");
        std::vector<int> scores(20);
        std::iota(scores.begin(), scores.end(), 1);
        std::shuffle(scores.begin(), scores.end(), random);
        int results[2];
        int stop[2];
        ASSERT_EQ(::pipe(results), 0);
        ASSERT_EQ(::pipe(stop), 0);
        if (::fork() == 0) {  // games starting again and again meanwhile
            ::close(results[1]);
            ::close(stop[1]);
            ::fcntl(stop[0], F_SETFL, O_NONBLOCK);
            for (char end = 0; ::read(stop[0], &end, 1) < 0;) {
                startGame(dir_, initial);
            }
            std::_Exit(0);
        }
        ::close(stop[0]);
        for (int w = 0; w < writers; ++w) {
            if (::fork() == 0) {
                // One group for both users: the folder's, which files there take anyway.
                if (folder != 0 && (::setgid(61000) != 0 ||
                                    ::setuid(61001U + static_cast<unsigned>(w % 2)) != 0)) {
                    std::_Exit(2);
                }
                ::umask(022);
                const int score = scores[static_cast<std::size_t>(w)];
                const std::string line = playGame(dir_, score, initial, round == 0 ? 150 : 0);
                (void)!::write(results[1], line.data(), line.size());
                std::_Exit(0);
            }
        }
        ::close(results[1]);
        FILE* reports = ::fdopen(results[0], "r");
        std::map<int, int> seenBySuccess;  // score told of success -> record it beat
        for (int w = 0; w < writers; ++w) {
            int score = 0;
            int outcome = 0;
            int seen = 0;
            ASSERT_EQ(std::fscanf(reports, "%d %d %d", &score, &outcome, &seen), 3);
            if (static_cast<Outcome>(outcome) == Outcome::written) {
                EXPECT_GT(score, seen);
                seenBySuccess[score] = seen;
            } else {
                EXPECT_EQ(static_cast<Outcome>(outcome), Outcome::notARecord) << score;
                EXPECT_GE(seen, score);
            }
        }
        std::fclose(reports);
        ::close(stop[1]);
        for (int status = 0; ::waitpid(-1, &status, 0) > 0;) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a mixed pair read";
        }
        int previous = initial;
        for (const auto& [score, seen] : seenBySuccess) {
            EXPECT_EQ(seen, previous) << "a success must beat the one before it";
            previous = score;
        }
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(root_)) {
            left.push_back(entry.path().filename().string());
        }
        std::sort(left.begin(), left.end());
        // The header and eight whole rows a round, each on its own line.
        std::ifstream sheet(root_ / classSheetFileName, std::ios::binary);
        std::size_t whole = 0;
        for (std::string line; std::getline(sheet, line);) {
            whole += line.ends_with('\r') && std::count(line.begin(), line.end(), ';') == 8;
        }
        EXPECT_EQ(whole, 1U + writers * static_cast<std::size_t>(round - phaseStart + 1));
        EXPECT_EQ(left, (std::vector<std::string>{"nvondu.txt", "registro.csv", "vondu.txt"}))
            << "no temporary, mark or lock file left by the writers";
        const auto [score, name] = restart();
        EXPECT_EQ(score, std::to_string(previous) + "\r\n");
        EXPECT_EQ(name, previous == initial ? std::string("Primo\r\n")
                                            : "Giocatore " + std::to_string(previous) + "\r\n");
    }
}

}  // namespace
}  // namespace quimbra::records

#endif
