// Filters for the voices and effects, at the music's sample rate.
#pragma once

#include "StereoBuffer.h"
#include "base/ShowConstants.h"

#include <algorithm>
#include <cmath>

// Frames between retunings of a swept filter. Retuning costs a tan(); once
// every 32 frames (0.7 ms) is far finer than any sweep here.
constexpr long long filterControlInterval = 32;

// Trapezoidal state-variable filter (topology-preserving): it stays stable
// and click-free while its cutoff is swept, which the filter envelopes do
// constantly.
class StateVariableFilter {
public:
    struct Outputs {
        double low;
        double band;
        double high;
    };

    void tune(double cutoffHz, double q) {
        const double limited = std::clamp(cutoffHz, 10.0, 0.45 * sampleRateHz);
        const double g = std::tan(pi * limited / sampleRateHz);
        damping = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + damping));
        a2 = g * a1;
        a3 = g * a2;
    }

    Outputs process(double input) {
        const double v3 = input - ic2eq;
        const double v1 = a1 * ic1eq + a2 * v3;
        const double v2 = ic2eq + a2 * ic1eq + a3 * v3;
        ic1eq = 2.0 * v1 - ic1eq;
        ic2eq = 2.0 * v2 - ic2eq;
        return {v2, v1, input - damping * v1 - v2};
    }

private:
    double damping = 1.0;
    double a1 = 0.0;
    double a2 = 0.0;
    double a3 = 0.0;
    double ic1eq = 0.0;
    double ic2eq = 0.0;
};

// First-order low-pass, used for damping inside feedback loops and for
// smoothing control signals.
class OnePoleLowPass {
public:
    void tune(double cutoffHz) { coefficient = 1.0 - std::exp(-twoPi * cutoffHz / sampleRateHz); }

    double process(double input) {
        state += coefficient * (input - state);
        return state;
    }

private:
    double coefficient = 1.0;
    double state = 0.0;
};

class OnePoleHighPass {
public:
    void tune(double cutoffHz) { lowPass.tune(cutoffHz); }

    double process(double input) { return input - lowPass.process(input); }

private:
    OnePoleLowPass lowPass;
};

// One filter per channel, each with its own state. The right one may be
// tuned a little apart from the left, which widens the sound.
template <typename Filter> struct StereoFilter {
    Filter left;
    Filter right;

    template <typename... Settings> void tune(double hz, Settings... settings) {
        tuneApart(hz, hz, settings...);
    }
    template <typename... Settings>
    void tuneApart(double leftHz, double rightHz, Settings... settings) {
        left.tune(leftHz, settings...);
        right.tune(rightHz, settings...);
    }

    // For filters with one output.
    StereoFrame process(StereoFrame x) { return {left.process(x.left), right.process(x.right)}; }

    // The state-variable filter's outputs.
    StereoFrame band(StereoFrame x) {
        return {left.process(x.left).band, right.process(x.right).band};
    }
    StereoFrame high(StereoFrame x) {
        return {left.process(x.left).high, right.process(x.right).high};
    }
};
