#pragma once
// The recorder's progress on standard error: on a terminal one bar redrawn
// in place (percent, frames, elapsed, remaining); otherwise a plain line at
// every tenth of the way, so logs stay readable.
//
// Threads: one thread only. Never fails; output errors are ignored.
#include <chrono>
#include <cstdio>

class ProgressReport {
public:
    ProgressReport(int totalFrames, std::FILE* stream);

    // `done` frames are finished. Draws at most a few times a second.
    void update(int done);
    // Draws the final state and ends the line.
    void finish(int done);

    double elapsedSeconds() const;

private:
    void draw(int done);

    int totalFrames_;
    std::FILE* stream_;
    bool terminal_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastDrawn_;
    int lastTenth_ = 0;
};
