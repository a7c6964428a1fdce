#include "Drums.h"

#include "Envelopes.h"
#include "Filters.h"
#include "NoiseSource.h"
#include "Oscillators.h"

#include <algorithm>
#include <cmath>

namespace {

long long framesFor(double seconds) {
    return static_cast<long long>(std::ceil(seconds * sampleRateHz));
}

// The noisy drums' raw material: the two channels share most of their noise
// so a hit stays a point in space, with a little private noise each for air
// (a share above 1 makes the sides all but independent: a wide wash).
struct StereoNoise {
    NoiseSource common;
    NoiseSource leftOnly;
    NoiseSource rightOnly;
    double privateShare;

    StereoNoise(std::uint64_t seed, double share)
        : common(seed), leftOnly(seed ^ 0x5151ull), rightOnly(seed ^ 0xA2A2ull),
          privateShare(share) {}

    StereoFrame next() {
        const double c = common.next();
        return {c + privateShare * leftOnly.next(), c + privateShare * rightOnly.next()};
    }
};

// Noise through a high-pass, and that through a resonant band-pass: the
// clap, the hats and the crash each mix the two to their own colour.
class FilteredNoise {
public:
    struct Tuning {
        StereoFrame hz;
        double q;
    };
    struct Outputs {
        StereoFrame high;
        StereoFrame band;
    };

    FilteredNoise(std::uint64_t seed, double privateShare, Tuning highPass, Tuning bandPass)
        : noise(seed, privateShare) {
        highFilter.tuneApart(highPass.hz.left, highPass.hz.right, highPass.q);
        bandFilter.tuneApart(bandPass.hz.left, bandPass.hz.right, bandPass.q);
    }

    Outputs next() {
        const StereoFrame high = highFilter.high(noise.next());
        return {high, bandFilter.band(high)};
    }

private:
    StereoNoise noise;
    StereoFilter<StateVariableFilter> highFilter;
    StereoFilter<StateVariableFilter> bandFilter;
};

void renderFilteredNoiseHit(StereoBuffer& out, const Timeline& timeline, double step, double gain,
                            double pan, std::uint64_t seed, double attack, double decay,
                            double length, double highPassHz, double bandHz) {
    FilteredNoise noise(seed, 0.4, {{highPassHz, highPassHz}, 0.7}, {{bandHz, bandHz}, 0.9});
    StereoFilter<OnePoleLowPass> air;
    air.tune(13000.0);
    const StereoFrame pg = panGains(pan);
    addCircular(out, timeline.stepToFrame(step), framesFor(length), [&](long long, double t) {
        const double env = gain * hitLevel(t, attack, decay, length);
        const FilteredNoise::Outputs x = noise.next();
        // Some plain high-passed noise, mostly a resonance that gives the hit its
        // colour; the top octave is softened so the hats shimmer rather than hiss.
        return env * pg * air.process(0.3 * x.high + x.band);
    });
}

} // namespace

void renderKick(StereoBuffer& out, const Timeline& timeline, const Hit& hit, double lowCutHz) {
    // A sine swept from about 270 Hz down to A1 (55 Hz), so the kick's body
    // sits on the key's tonic under the bass.
    constexpr double length = 0.36;
    double phase = 0.0;
    NoiseSource click(0x4B1C4ull);
    OnePoleHighPass clickFilter;
    clickFilter.tune(2000.0);
    const double drive = 1.6;
    StateVariableFilter lowCut;
    lowCut.tune(lowCutHz, 0.7071);
    addCircular(out, timeline.stepToFrame(hit.step), framesFor(length), [&](long long, double t) {
        const double frequency = 55.0 + 175.0 * std::exp(-t / 0.03) + 40.0 * std::exp(-t / 0.006);
        phase = wrapPhase(phase + frequency / sampleRateHz);
        const double body = std::sin(twoPi * phase) * hitLevel(t, 0.0008, 0.13, length);
        const double transient =
            clickFilter.process(click.next()) * hitLevel(t, 0.0003, 0.0025, 0.02);
        // A softer stroke has less beater click, not only less level.
        const double beater = 0.25 * hit.velocity * transient;
        double v = hit.velocity * (std::tanh(drive * body) / std::tanh(drive) + beater);
        if (lowCutHz > 0.0) {
            v = lowCut.process(v).high;
        }
        return StereoFrame{v, v};
    });
}

void renderKickPulse(std::vector<float>& pulse, const Timeline& timeline, const Hit& hit) {
    const long long frames = framesFor(0.5);
    const long long start = timeline.stepToFrame(hit.step);
    const long long n = static_cast<long long>(pulse.size());
    for (long long i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRateHz;
        // Quick dip, smooth recovery over about an eighth note.
        const double rise = std::min(1.0, t / 0.004);
        const double value = rise * std::exp(-t / 0.09) * std::min(1.0, (0.5 - t) / 0.1);
        const std::size_t index = static_cast<std::size_t>(((start + i) % n + n) % n);
        pulse[index] = std::max(pulse[index], static_cast<float>(hit.velocity * value));
    }
}

void renderClap(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed) {
    // Several hands a few milliseconds apart, then the room.
    constexpr double length = 0.45;
    FilteredNoise noise(seed, 0.5, {{700.0, 700.0}, 0.7}, {{1250.0, 1350.0}, 1.3});
    constexpr double burstTimes[] = {0.0, 0.009, 0.019, 0.027};
    addCircular(out, timeline.stepToFrame(hit.step), framesFor(length), [&](long long, double t) {
        double env = 0.0;
        for (double b : burstTimes) {
            env += hitLevel(t - b, 0.0004, 0.0045, 0.03);
        }
        env += 0.7 * hitLevel(t - 0.03, 0.002, 0.09, length - 0.03);
        const double g = 1.4 * hit.velocity * env;
        return g * noise.next().band;
    });
}

void renderSnare(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed) {
    constexpr double length = 0.3;
    StereoNoise noise(seed, 0.3);
    StereoFilter<StateVariableFilter> high;
    high.tune(1500.0, 0.7);
    SineOscillator drumHead;
    SineOscillator overtone;
    addCircular(out, timeline.stepToFrame(hit.step), framesFor(length), [&](long long, double t) {
        const double tone =
            0.6 * drumHead.next(188.0 / sampleRateHz) + 0.3 * overtone.next(331.0 / sampleRateHz);
        const double toneEnv = hitLevel(t, 0.0005, 0.05, length);
        const double noiseEnv = hitLevel(t, 0.0005, 0.11, length);
        const StereoFrame x = high.high(noise.next());
        const double g = hit.velocity;
        return g * (0.6 * x * noiseEnv + tone * toneEnv);
    });
}

void renderClosedHat(StereoBuffer& out, const Timeline& timeline, const Hit& hit,
                     std::uint64_t seed) {
    renderFilteredNoiseHit(out, timeline, hit.step, 0.55 * hit.velocity, 0.3, seed, 0.0005, 0.028,
                           0.12, 7500.0, 10000.0);
}

void renderOpenHat(StereoBuffer& out, const Timeline& timeline, const Hit& hit,
                   std::uint64_t seed) {
    renderFilteredNoiseHit(out, timeline, hit.step, 0.45 * hit.velocity, 0.15, seed, 0.001, 0.12,
                           0.5, 6500.0, 9000.0);
}

void renderShaker(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed) {
    renderFilteredNoiseHit(out, timeline, hit.step, 0.3 * hit.velocity, -0.35, seed, 0.007, 0.03,
                           0.11, 4000.0, 6500.0);
}

void renderCrash(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed) {
    constexpr double length = 3.2;
    // Fully independent noise per side: a wide wash.
    FilteredNoise noise(seed, 1.5, {{4200.0, 4400.0}, 0.6}, {{8000.0, 8800.0}, 0.8});
    // A few inharmonic partials for the metal.
    constexpr double partials[] = {3173.0, 4271.0, 5317.0, 6619.0};
    SineOscillator ring[4];
    addCircular(out, timeline.stepToFrame(hit.step), framesFor(length), [&](long long, double t) {
        const double env = hit.velocity * hitLevel(t, 0.002, 0.9, length);
        double metal = 0.0;
        for (std::size_t k = 0; k < 4; ++k) {
            metal += ring[k].next(partials[k] / sampleRateHz);
        }
        metal *= 0.02 * std::exp(-t / 0.5);
        const FilteredNoise::Outputs x = noise.next();
        return 0.35 * env * (0.4 * x.high + 0.6 * x.band + metal);
    });
}

void renderRiser(StereoBuffer& out, const Timeline& timeline, const Sweep& sweep,
                 std::uint64_t seed) {
    const long long start = timeline.stepToFrame(sweep.step);
    const long long frames = timeline.stepToFrame(sweep.step + sweep.length) - start;
    StereoNoise noise(seed, 1.5);
    StereoFilter<StateVariableFilter> band;
    const double fadeOut = 0.012 * sampleRateHz;
    addCircular(out, start, frames, [&](long long i, double) {
        const double progress = static_cast<double>(i) / static_cast<double>(frames);
        if (i % filterControlInterval == 0) {
            const double hz = 350.0 * std::pow(9000.0 / 350.0, progress);
            band.tuneApart(hz, hz * 1.06, 2.2);
        }
        const double tail = std::min(1.0, static_cast<double>(frames - i) / fadeOut);
        const double env = sweep.velocity * progress * progress * tail;
        return 0.35 * env * band.band(noise.next());
    });
}
