// Band-limited oscillators. Naive saws and squares fold their upper harmonics
// back into the audible band as inharmonic whistles; the PolyBLEP correction
// rounds each discontinuity over one sample on either side, which removes
// most of that for the cost of two branches.
#pragma once

#include "StereoBuffer.h"

#include <cmath>

inline double noteFrequency(double midiNote) {
    return 440.0 * std::exp2((midiNote - 69.0) / 12.0);
}

inline double centsToRatio(double cents) {
    return std::exp2(cents / 1200.0);
}

// Residual to subtract at a unit downward step at phase 0; `increment` is the
// phase advance per sample (frequency / sample rate).
inline double polyBlep(double phase, double increment) {
    if (phase < increment) {
        const double t = phase / increment;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - increment) {
        const double t = (phase - 1.0) / increment;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

inline double wrapPhase(double phase) {
    return phase - std::floor(phase);
}

class SawOscillator {
public:
    explicit SawOscillator(double startPhase = 0.5) : phase(wrapPhase(startPhase)) {}

    double next(double increment) {
        const double value = 2.0 * phase - 1.0 - polyBlep(phase, increment);
        phase = wrapPhase(phase + increment);
        return value;
    }

private:
    double phase;
};

class SquareOscillator {
public:
    explicit SquareOscillator(double startPhase = 0.0) : phase(wrapPhase(startPhase)) {}

    double next(double increment) {
        double value = phase < 0.5 ? 1.0 : -1.0;
        value += polyBlep(phase, increment);
        value -= polyBlep(wrapPhase(phase + 0.5), increment);
        phase = wrapPhase(phase + increment);
        return value;
    }

private:
    double phase;
};

class SineOscillator {
public:
    explicit SineOscillator(double startPhase = 0.0) : phase(wrapPhase(startPhase)) {}

    double next(double increment) { return nextWithOffset(increment, 0.0); }

    // For phase modulation: the carrier's own phase plus an offset in cycles.
    double nextWithOffset(double increment, double offsetCycles) {
        const double value = std::sin(twoPi * (phase + offsetCycles));
        phase = wrapPhase(phase + increment);
        return value;
    }

private:
    double phase;
};
