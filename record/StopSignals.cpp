#include "record/StopSignals.h"

#include "record/ExitCleanup.h"

#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <ctime>

namespace {

constexpr int stopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
// How often the waiting thread looks at the clock and at its own end.
constexpr long pollNanoseconds = 50'000'000;
// How long the last line may wait for a standard error that does not drain.
constexpr int lineWriteTimeoutMs = 100;

sigset_t stopSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : stopSignalNumbers) {
        sigaddset(&set, signalNumber);
    }
    return set;
}

} // namespace

StopSignals::StopSignals(std::string stuckLine, int stuckStatus)
    : stuckLine_(std::move(stuckLine)), stuckStatus_(stuckStatus) {
    sigset_t held = stopSet();
    sigaddset(&held, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &held, &previousMask_);
    waiter_ = std::thread(&StopSignals::waitForSignals, this);
}

StopSignals::~StopSignals() {
    quitting_ = true;
    waiter_.join();
    // A signal still pending would end the process once unblocked.
    const sigset_t set = stopSet();
    const timespec noWait{0, 0};
    while (sigtimedwait(&set, nullptr, &noWait) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

void StopSignals::setStopAction(std::function<void()> action) {
    const std::lock_guard<std::mutex> lock(actionMutex_);
    action_ = std::move(action);
    if (requested_ && action_) {
        action_();
    }
}

void StopSignals::waitForSignals() {
    const sigset_t set = stopSet();
    const timespec poll{0, pollNanoseconds};
    std::chrono::steady_clock::time_point requestedAt;
    while (!quitting_) {
        if (sigtimedwait(&set, nullptr, &poll) > 0 && !requested_) {
            requestedAt = std::chrono::steady_clock::now();
            const std::lock_guard<std::mutex> lock(actionMutex_);
            requested_ = true;
            if (action_) {
                action_();
            }
        }
        if (requested_ && !done_ && std::chrono::steady_clock::now() - requestedAt > stopGrace) {
            endStuckProcess();
        }
    }
}

void StopSignals::endStuckProcess() const {
    exitCleanup::undoAll();
    // Standard error may be a pipe nobody reads: give the line a moment,
    // not the process's end.
    pollfd error{STDERR_FILENO, POLLOUT, 0};
    if (::poll(&error, 1, lineWriteTimeoutMs) == 1 && (error.revents & POLLOUT) != 0) {
        const std::string line = stuckLine_ + "\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line.data(), line.size());
    }
    _exit(stuckStatus_);
}
