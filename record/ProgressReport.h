#pragma once
// The recorder's progress on standard error: on a terminal one bar redrawn
// in place (percent, frames, elapsed, remaining); otherwise a plain line at
// every tenth of the way, so logs stay readable.
//
// The time left comes from the pace of the last minute or so, not from the
// average since the start: the show's start-up and its costlier moments
// would otherwise skew a long recording's estimate by minutes.
//
// Threads: one thread only. Never fails; output errors are ignored.
#include <chrono>
#include <cstdio>
#include <deque>

// A moment of the recording: seconds since it started, frames done by then.
struct ProgressSample {
    double seconds = 0.0;
    long long done = 0;
};

// Pace is measured over at most this much of the latest past.
constexpr double progressPaceWindowSeconds = 60.0;

// Seconds still needed for `total` frames at the pace the samples show
// (oldest first) over the last progressPaceWindowSeconds; 0 when no frame
// is done yet (nothing to go by) or all are.
double remainingSeconds(const std::deque<ProgressSample>& samples, long long total);

class ProgressReport {
public:
    ProgressReport(long long totalFrames, std::FILE* stream);

    // `done` frames are finished. Draws at most a few times a second.
    void update(long long done);
    // Draws the final state and ends the line.
    void finish(long long done);

    double elapsedSeconds() const;

private:
    void draw(long long done);

    long long totalFrames_;
    std::FILE* stream_;
    bool terminal_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastDrawn_;
    int lastTenth_ = 0;
    std::deque<ProgressSample> samples_;
};
