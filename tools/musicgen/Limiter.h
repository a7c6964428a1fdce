// A look-ahead peak limiter for the master: it sees each peak (including the
// peaks between samples) a few milliseconds before it arrives and lowers the
// gain smoothly ahead of it, so nothing is ever clipped and nothing clicks.
#pragma once

#include "StereoBuffer.h"

struct LimiterSettings {
    double ceiling = 0.84;           // linear true-peak ceiling
    double lookaheadSeconds = 0.003; // also the length of the gain ramp
    double releaseSeconds = 0.08;
};

// Applies `gain` and limits a loop cycle. Like the other effects it runs over
// the cycle twice, so the gain at the loop start already knows the loop end.
StereoBuffer limitCycle(const StereoBuffer& input, double gain, const LimiterSettings& settings);
