#pragma once
// How a game waits for the records lock, on every system: each platform only
// tries the lock once and tells who holds it (FileOperations::tryLock).

#include <chrono>
#include <functional>
#include <string>

#include "records/file_operations.h"

namespace quimbra::records {

// A game gives up after this many times the wait for one holder in all,
// whatever the others seem to be doing.
inline constexpr int lockWaitTurns = 6;

// The time and a pause: the system's, or a test's.
struct WaitClock {
    std::function<std::chrono::steady_clock::time_point()> now;
    std::function<void(std::chrono::milliseconds)> pause;
};
WaitClock systemClock();

// One game's waits for the lock. A busy lock is tried again after short
// pauses while games take their turns (the holder changes); the game gives
// up when one holder keeps it for perHolder, and when all its waits together,
// from its start to its end, reach lockWaitTurns times perHolder: a game
// whose start gave up does not wait the whole cap again at its end.
class LockWait {
  public:
    explicit LockWait(std::chrono::milliseconds perHolder, WaitClock clock = systemClock());

    void setPerHolder(std::chrono::milliseconds perHolder) { perHolder_ = perHolder; }
    // A new game: its waits start from nothing.
    void restart() { spent_ = {}; }

    // The lock from attempt; notice is called once, before the first pause,
    // when the lock is busy and the game will wait.
    LockResult take(const std::function<LockResult()>& attempt, const WaitNotice& notice);

  private:
    std::chrono::milliseconds perHolder_;
    WaitClock clock_;
    std::chrono::steady_clock::duration spent_{};
};

}  // namespace quimbra::records
