#include "record/StopSignals.h"

#include <pthread.h>

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int heldSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

} // namespace

StopSignals::StopSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signalNumber : heldSignals) {
        sigaddset(&held, signalNumber);
    }
    pthread_sigmask(SIG_BLOCK, &held, &previousMask_);
}

StopSignals::~StopSignals() {
    // A signal still pending would now end the process; the recorder has
    // already acted on it, so take it off first.
    sigset_t waiting;
    sigpending(&waiting);
    for (const int signalNumber : heldSignals) {
        if (sigismember(&waiting, signalNumber) == 1) {
            sigset_t one;
            sigemptyset(&one);
            sigaddset(&one, signalNumber);
            int taken = 0;
            sigwait(&one, &taken);
        }
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool StopSignals::pending() const {
    sigset_t waiting;
    sigpending(&waiting);
    for (const int signalNumber : stopSignals) {
        if (sigismember(&waiting, signalNumber) == 1) {
            return true;
        }
    }
    return false;
}
