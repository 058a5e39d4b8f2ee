#include "records/lock_wait.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace quimbra::records {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

WaitClock systemClock() {
    return {[] { return steady_clock::now(); },
            [](milliseconds pause) { std::this_thread::sleep_for(pause); }};
}

LockWait::LockWait(milliseconds perHolder, WaitClock clock)
    : perHolder_(perHolder), clock_(std::move(clock)) {}

LockResult LockWait::take(const std::function<LockResult()>& attempt, const WaitNotice& notice) {
    LockResult result = attempt();
    const steady_clock::duration left = perHolder_ * lockWaitTurns - spent_;
    if (!result.busy || left <= steady_clock::duration::zero()) {
        return result;
    }
    if (notice) {
        notice();
    }
    const steady_clock::time_point started = clock_.now();
    const steady_clock::time_point cap = started + left;
    steady_clock::time_point holderDeadline = started + perHolder_;
    std::string holder = result.holder;
    milliseconds pause{1};
    for (;;) {
        const steady_clock::time_point now = clock_.now();
        const steady_clock::time_point end = std::min(holderDeadline, cap);
        if (now >= end) {
            break;
        }
        clock_.pause(std::min(pause, std::chrono::ceil<milliseconds>(end - now)));
        pause = std::min(pause * 2, milliseconds(20));
        result = attempt();
        if (!result.busy) {
            break;
        }
        if (result.holder != holder) {
            // Another game had its turn: the next holder is waited for anew.
            holder = result.holder;
            holderDeadline = clock_.now() + perHolder_;
        }
    }
    spent_ += clock_.now() - started;
    return result;
}

}  // namespace quimbra::records
