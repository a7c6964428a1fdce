#pragma once
// Turns the signals that ask a program to stop (SIGINT from Ctrl-C,
// SIGTERM, SIGHUP, SIGQUIT) into a clean stop: the encoder taken down, the
// unfinished files removed, one line and status 130, within a second,
// wherever the recorder is waiting.
//
// Every thread keeps these signals blocked (they are blocked before any
// thread starts, and threads inherit the mask), and a thread of this
// object's own waits for them. On the first one it calls the stop action
// the recorder set, which unblocks whatever the recorder may be waiting on
// (the frame queue, the encoder's pipes), and notes the request, which the
// recorder looks at between its steps. Should the recorder not have called
// done() within stopGrace after that (stuck where nothing can unblock it),
// this thread undoes what exitCleanup watches, writes the line and ends
// the process itself.
//
// SIGPIPE is held too: a write to an encoder that has gone then fails with
// EPIPE, which the writer reports. Child processes must reset the mask
// themselves (EncoderProcess does).
//
// Threads: construct on the main thread before any other thread starts.
// requested() from any thread; setStopAction and done on the main thread.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class StopSignals {
public:
    // Time the recorder has, after a stop signal, to finish its way out.
    static constexpr std::chrono::milliseconds stopGrace{700};

    // `stuckLine` and `stuckStatus` are what the process says and ends with
    // when the recorder does not get out by itself.
    StopSignals(std::string stuckLine, int stuckStatus);
    // Ends the waiting thread, takes off signals still pending (the
    // recorder has acted on them) and restores the previous mask.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The action called, on the waiting thread, when a stop signal arrives
    // (at once if one already has). An empty function clears it; clear it
    // before what it touches goes away.
    void setStopAction(std::function<void()> action);

    // True once a stop signal has arrived. Never fails.
    bool requested() const { return requested_; }

    // The recorder has left the way it wanted (its line is written): the
    // grace no longer runs.
    void done() { done_ = true; }

private:
    void waitForSignals();
    void endStuckProcess() const;

    std::string stuckLine_;
    int stuckStatus_;
    sigset_t previousMask_;
    std::atomic<bool> requested_{false};
    std::atomic<bool> done_{false};
    std::atomic<bool> quitting_{false};
    std::mutex actionMutex_;
    std::function<void()> action_;
    std::thread waiter_;
};

// Sets a stop action for as long as it lives.
class ScopedStopAction {
public:
    ScopedStopAction(StopSignals& signals, std::function<void()> action) : signals_(signals) {
        signals_.setStopAction(std::move(action));
    }
    ~ScopedStopAction() { signals_.setStopAction({}); }
    ScopedStopAction(const ScopedStopAction&) = delete;
    ScopedStopAction& operator=(const ScopedStopAction&) = delete;

private:
    StopSignals& signals_;
};
