// The musical grid laid over one loop cycle. The cycle length in samples is
// fixed first (it is where the player jumps back); the tempo follows from it,
// so a whole number of bars fits the cycle exactly.
#pragma once

#include "StereoBuffer.h"
#include "base/ShowConstants.h"

#include <vector>

constexpr int stepsPerBar = 16; // sixteenth notes

// The loop: 2086 of the player's 1024-frame callbacks, 96 beats. The
// picture's heart beats on this grid, so the cycle stays fixed and the
// encoded file is made to jump exactly here.
constexpr long long loopCycleFrames = 2086LL * audioBufferFrames;

struct Timeline {
    long long cycleFrames = 0;
    int bars = 0;

    int totalSteps() const { return bars * stepsPerBar; }
    double framesPerStep() const { return static_cast<double>(cycleFrames) / totalSteps(); }
    double secondsPerStep() const { return framesPerStep() / sampleRateHz; }
    double beatsPerMinute() const { return 60.0 / (4.0 * secondsPerStep()); }
    long long stepToFrame(double step) const;
    double frameToStep(long long frame) const;
};

// A control curve over the cycle: piecewise linear between keyframes given in
// steps, wrapping from the last keyframe round to the first.
class Automation {
public:
    struct Point {
        double step;
        double value;
    };

    Automation(std::vector<Point> keyframes, int cycleSteps);

    double valueAt(double step) const;

private:
    std::vector<Point> points;
    double cycle;
};
