// Loudness and peak measurement as broadcast meters do it (ITU-R BS.1770):
// K-weighted, gated integrated loudness, the loudness range (EBU Tech 3342)
// and true peak from a 4x oversampled reconstruction of the waveform.
#pragma once

#include "StereoBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

double integratedLoudness(const StereoBuffer& signal);

// Below this a meter shows nothing: the absolute gate of the measurements.
constexpr double silenceLufs = -70.0;

// How far the loudness moves over the signal, in LU: the spread between the
// 10th and the 95th percentile of its short-term (3 s) loudness, leaving out
// windows more than 20 LU below their mean, so that fades and pauses do not
// count.
double loudnessRange(const StereoBuffer& signal);

// Peak magnitude of the reconstructed waveform, linear.
double truePeak(const StereoBuffer& signal);

inline double toDecibels(double linear) {
    return 20.0 * std::log10(std::max(linear, 1e-12));
}

inline double fromDecibels(double db) {
    return std::pow(10.0, db / 20.0);
}

// Windowed-sinc interpolation of the three points between two samples.
// Between-sample peaks are what a DAC actually produces, and what lossy
// encoding tends to make worse.
class InterSamplePeak {
public:
    static constexpr int tapCount = 16;  // samples used around each point
    static constexpr int phaseCount = 4; // points per sample interval, counting the sample itself

    InterSamplePeak();

    // Largest magnitude at sample n and between n and n + 1. `sampleAt`
    // returns the sample at any index, so callers decide what lies beyond
    // the ends (silence for a file, the other end for a loop cycle).
    template <typename SampleAt> double peakFrom(long long n, SampleAt sampleAt) const {
        double peak = std::fabs(sampleAt(n));
        for (int phase = 1; phase < phaseCount; ++phase) {
            double sum = 0.0;
            for (int j = 0; j < tapCount; ++j) {
                sum += coefficients[static_cast<std::size_t>(phase * tapCount + j)] *
                       sampleAt(n + j - tapCount / 2 + 1);
            }
            peak = std::max(peak, std::fabs(sum));
        }
        return peak;
    }

private:
    std::vector<double> coefficients;
};
