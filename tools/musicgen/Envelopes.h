// Amplitude shapes as pure functions of the time since note-on, so a voice
// can be rendered at any position of the loop without carrying state.
#pragma once

#include <algorithm>
#include <cmath>

struct AdsrShape {
    double attack = 0.005; // seconds, linear rise
    double decay = 0.1;    // seconds, exponential time constant towards sustain
    double sustain = 1.0;  // level while held
    double release = 0.1;  // seconds, exponential time constant after the gate
};

// How long a released voice keeps sounding: after six time constants it is
// at -52 dB, and a linear fade over the same span brings it to exactly zero.
inline double releaseSpan(const AdsrShape& shape) {
    return 6.0 * shape.release;
}

inline double heldLevel(const AdsrShape& shape, double t) {
    if (t < shape.attack) {
        return t / shape.attack;
    }
    const double sinceAttack = t - shape.attack;
    return shape.sustain + (1.0 - shape.sustain) * std::exp(-sinceAttack / shape.decay);
}

inline double adsrLevel(const AdsrShape& shape, double t, double gateLength) {
    if (t < 0.0) {
        return 0.0;
    }
    if (t < gateLength) {
        return heldLevel(shape, t);
    }
    const double sinceRelease = t - gateLength;
    const double span = releaseSpan(shape);
    if (sinceRelease >= span) {
        return 0.0;
    }
    return heldLevel(shape, gateLength) * std::exp(-sinceRelease / shape.release) *
           (1.0 - sinceRelease / span);
}

// A percussive hit: a short linear attack (so it never clicks), an
// exponential decay, and a fade to zero at `length` seconds.
inline double hitLevel(double t, double attack, double decay, double length) {
    if (t < 0.0 || t >= length) {
        return 0.0;
    }
    const double rise = t < attack ? t / attack : 1.0;
    const double fade = std::min(1.0, (length - t) / (0.25 * length));
    return rise * std::exp(-t / decay) * fade;
}
