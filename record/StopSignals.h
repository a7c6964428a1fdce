#pragma once
// Turns the signals that ask a program to stop (SIGINT from Ctrl-C, SIGTERM,
// SIGHUP) into a state the recorder polls, so that it can stop between
// frames, take its encoder down and remove its unfinished files instead of
// dying halfway. SIGPIPE is held too: a write to an encoder that has gone
// then fails with EPIPE, which the writer reports.
//
// Threads: construct it on the main thread before any other thread starts,
// so that every thread inherits the blocked mask; the signals then stay
// pending on the process until pending() sees them. Child processes must
// reset the mask themselves (EncoderProcess does). The destructor restores
// the previous mask of the calling thread.
#include <signal.h>

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once a stop signal has arrived. Never fails.
    bool pending() const;

private:
    sigset_t previousMask_;
};
