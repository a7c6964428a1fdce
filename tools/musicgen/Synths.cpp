#include "Synths.h"

#include "Envelopes.h"
#include "Filters.h"
#include "NoiseSource.h"
#include "Oscillators.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A note's place in the cycle: its first frame, how long the key is held,
// and how many frames it sounds, release included.
struct Voice {
    Voice(const Timeline& timeline, const Note& note, double heldSteps, const AdsrShape& envelope)
        : shape(envelope), gate(heldSteps * timeline.secondsPerStep()),
          start(timeline.stepToFrame(note.step)),
          frames(static_cast<long long>(std::ceil((gate + releaseSpan(shape)) * sampleRateHz))) {}

    double level(double t) const { return adsrLevel(shape, t, gate); }

    AdsrShape shape;
    double gate;
    long long start;
    long long frames;
};

// Four-pole low-pass: two state-variable stages in series.
class LowPass24 {
public:
    void tune(double hz, double q) {
        first.tune(hz, q);
        second.tune(hz, 0.7071);
    }
    double process(double x) { return second.process(first.process(x).low).low; }

private:
    StateVariableFilter first;
    StateVariableFilter second;
};

} // namespace

void renderBassNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                    const Automation& cutoff) {
    const Voice voice(timeline, note, note.length, {0.003, 0.15, 0.85, 0.025});
    const double increment = noteFrequency(note.pitch) / sampleRateHz;
    SawOscillator saw(0.5);
    SineOscillator sub;
    LowPass24 filter;
    addCircular(out, voice.start, voice.frames, [&](long long i, double t) {
        if (i % filterControlInterval == 0) {
            const double step = timeline.frameToStep(voice.start + i);
            const double base = cutoffFromOctaves(cutoff.valueAt(step));
            filter.tune(base * (1.0 + 2.5 * std::exp(-t / 0.06)), 0.9);
        }
        const double raw = 0.6 * saw.next(increment) + 0.7 * sub.next(increment);
        const double shaped = std::tanh(1.3 * filter.process(raw));
        const double v = 0.55 * note.velocity * voice.level(t) * shaped;
        return StereoFrame{v, v};
    });
}

void renderPadNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                   const Automation& cutoff, std::uint64_t seed) {
    // Five detuned saws spread across the stereo field: the width comes from
    // their slow beating, which keeps the centre solid in mono.
    constexpr std::array<double, 5> detuneCents{-13.0, -5.5, 0.0, 6.0, 12.5};
    constexpr std::array<double, 5> pans{-0.7, 0.35, 0.0, -0.35, 0.7};
    const Voice voice(timeline, note, note.length, {0.12, 0.8, 0.8, 0.4});
    NoiseSource phases(seed);
    std::array<SawOscillator, 5> saws;
    std::array<double, 5> increments{};
    std::array<StereoFrame, 5> gains{};
    const double frequency = noteFrequency(note.pitch);
    for (std::size_t k = 0; k < 5; ++k) {
        saws[k] = SawOscillator(phases.next());
        increments[k] = frequency * centsToRatio(detuneCents[k]) / sampleRateHz;
        gains[k] = panGains(pans[k]);
    }
    StereoFilter<LowPass24> filter;
    addCircular(out, voice.start, voice.frames, [&](long long i, double t) {
        if (i % filterControlInterval == 0) {
            const double hz =
                cutoffFromOctaves(cutoff.valueAt(timeline.frameToStep(voice.start + i)));
            filter.tuneApart(hz, hz * 1.04, 0.8);
        }
        StereoFrame x{0.0, 0.0};
        for (std::size_t k = 0; k < 5; ++k) {
            x = x + gains[k] * saws[k].next(increments[k]);
        }
        const double env = 0.06 * note.velocity * voice.level(t);
        return env * filter.process(x);
    });
}

void renderPluckNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                     const Automation& cutoff) {
    const Voice voice(timeline, note, note.length, {0.002, 0.14, 0.0, 0.08});
    const double frequency = noteFrequency(note.pitch);
    SawOscillator saw(0.5);
    SquareOscillator square(0.25);
    LowPass24 filter;
    addCircular(out, voice.start, voice.frames, [&](long long i, double t) {
        if (i % filterControlInterval == 0) {
            const double base =
                cutoffFromOctaves(cutoff.valueAt(timeline.frameToStep(voice.start + i)));
            const double accent = 1.0 + 4.0 * note.velocity * std::exp(-t / 0.045);
            filter.tune(base * accent, 1.2);
        }
        const double raw = 0.6 * saw.next(frequency / sampleRateHz) +
                           0.4 * square.next(frequency * centsToRatio(-8.0) / sampleRateHz);
        const double v = 0.3 * note.velocity * voice.level(t) * filter.process(raw);
        return StereoFrame{v, v};
    });
}

void renderLeadNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                    const Note* previous) {
    // A little shorter than written, so repeated notes articulate.
    const Voice voice(timeline, note, note.length - 0.15, {0.006, 0.35, 0.75, 0.07});
    double glideFrom = note.pitch;
    if (previous != nullptr) {
        const double previousEnd = previous->step + previous->length;
        if (std::fabs(previousEnd - note.step) < 0.5) {
            glideFrom = previous->pitch;
        }
    }
    constexpr double glideTime = 0.025;
    SawOscillator sawA(0.5);
    SawOscillator sawB(0.1);
    SineOscillator subOctave;
    StereoFilter<LowPass24> filter;
    const StereoFrame panA = panGains(-0.3);
    const StereoFrame panB = panGains(0.3);
    const double keyTrack = std::sqrt(noteFrequency(note.pitch) / 440.0);
    addCircular(out, voice.start, voice.frames, [&](long long i, double t) {
        // Delayed vibrato, as a singer would: straight at first, then a gentle 5.3 Hz wave.
        const double vibratoDepth = 0.18 * std::clamp((t - 0.2) / 0.3, 0.0, 1.0);
        const double vibrato = vibratoDepth * std::sin(twoPi * 5.3 * t);
        const double pitch = note.pitch + (glideFrom - note.pitch) * std::exp(-t / glideTime * 3.0);
        const double frequency = noteFrequency(pitch + vibrato);
        if (i % filterControlInterval == 0) {
            filter.tune(keyTrack * (2800.0 + 2800.0 * std::exp(-t / 0.15)), 0.85);
        }
        const double a = sawA.next(frequency * centsToRatio(-7.0) / sampleRateHz);
        const double b = sawB.next(frequency * centsToRatio(7.0) / sampleRateHz);
        const double s = 0.35 * subOctave.next(0.5 * frequency / sampleRateHz);
        const double env = 0.12 * note.velocity * voice.level(t);
        return env * filter.process(panA * a + panB * b + s);
    });
}

void renderKeysNote(StereoBuffer& out, const Timeline& timeline, const Note& note) {
    // Two-operator FM in the manner of an electric piano: a modulator at the
    // carrier's frequency whose depth dies away (the bark of the hammer),
    // plus a brief high partial for the tine.
    const Voice voice(timeline, note, note.length, {0.002, 1.1, 0.0, 0.3});
    const double frequency = noteFrequency(note.pitch);
    SineOscillator carrier;
    SineOscillator modulator;
    SineOscillator tine;
    addCircular(out, voice.start, voice.frames, [&](long long, double t) {
        const double index = 0.25 + 0.9 * note.velocity * std::exp(-t / 0.35);
        const double tineIndex = 0.25 * std::exp(-t / 0.025);
        const double offset = index * modulator.next(frequency / sampleRateHz) / twoPi +
                              tineIndex * tine.next(7.0 * frequency / sampleRateHz) / twoPi;
        const double v = carrier.nextWithOffset(frequency / sampleRateHz, offset);
        // A slow auto-pan, as the classic instrument's tremolo.
        const double env = 0.22 * note.velocity * voice.level(t);
        return env * panGains(0.3 * std::sin(twoPi * 4.2 * t)) * v;
    });
}
