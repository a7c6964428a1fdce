// From the mixed cycle to the 16-bit samples of the file: loudness
// normalisation, limiting, and the periodic extension past the loop point.
#pragma once

#include "StereoBuffer.h"

#include <cstdint>
#include <iosfwd>
#include <vector>

struct MasteringTarget {
    double integratedLufs = -14.0;
    double truePeakCeilingDb = -2.2; // leaves room for the codec's overshoot
};

struct MasteringResult {
    std::vector<std::int16_t> interleaved; // left, right, left, right ...
    double integratedLufs = 0.0;
    double truePeakDb = 0.0;
    double gainDb = 0.0;
};

// `fileFrames` may exceed the cycle: the extra frames repeat the cycle's
// start, which is what the decoder plays on past the loop point.
MasteringResult masterCycle(const StereoBuffer& cycle, long long fileFrames,
                            const MasteringTarget& target, std::ostream* log);

// Repeats a cycle periodically to the given length.
StereoBuffer extendPeriodically(const StereoBuffer& cycle, long long frames);
