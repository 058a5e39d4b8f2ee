#pragma once
// How a game waits for the records lock, on every system: each platform only
// tries the lock once and tells who holds it (FileOperations::tryLock).

#include <chrono>
#include <functional>
#include <string>

#include "records/file_operations.h"

namespace quimbra::records {

// A game gives up after this many times the wait for one holder in all.
inline constexpr int lockWaitTurns = 6;

// The system's time and pause, or a test's.
struct WaitClock {
    std::function<std::chrono::steady_clock::time_point()> now;
    std::function<void(std::chrono::milliseconds)> pause;
};
WaitClock systemClock();

// One game's waits for the lock: tried again after short pauses while games
// take turns (the holder changes), given up when one holder keeps it for
// perHolder, or when all the game's waits, start to end, reach
// lockWaitTurns times perHolder (a start that gave up leaves no full wait
// for the end).
class LockWait {
  public:
    explicit LockWait(std::chrono::milliseconds perHolder, WaitClock clock = systemClock());

    void setPerHolder(std::chrono::milliseconds perHolder) { perHolder_ = perHolder; }
    // A new game: its waits start from nothing.
    void restart() { spent_ = {}; }

    // The lock from attempt; notice is called before the first pause.
    LockResult take(const std::function<LockResult()>& attempt, const WaitNotice& notice);

  private:
    std::chrono::milliseconds perHolder_;
    WaitClock clock_;
    std::chrono::steady_clock::duration spent_{};
};

}  // namespace quimbra::records
