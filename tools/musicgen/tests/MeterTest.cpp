// The meter and the limiter against known answers: tones whose loudness,
// loudness range and peak the broadcast standards state, and hot signals
// that must come out of the limiter under its ceiling.
#include "Limiter.h"
#include "Loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Segment {
    double seconds;
    double dbfs; // crest level of the sine
};

// A sine whose level steps from segment to segment, in the left channel and,
// if `stereo`, the right.
StereoBuffer sine(double hz, double phase, const std::vector<Segment>& segments, bool stereo) {
    std::vector<float> samples;
    for (const Segment& s : segments) {
        for (long i = std::lround(s.seconds * sampleRateHz); i > 0; --i) {
            const double t = static_cast<double>(samples.size()) / sampleRateHz;
            samples.push_back(
                static_cast<float>(fromDecibels(s.dbfs) * std::sin(twoPi * hz * t + phase)));
        }
    }
    StereoBuffer signal(samples.size());
    signal.left = samples;
    if (stereo) {
        signal.right = samples;
    }
    return signal;
}

// A quarter-rate sine sampled 45 degrees off its crests: every sample is at
// -3.01 dB, the wave between them at full scale.
StereoBuffer crestsBetweenSamples() {
    return sine(sampleRateHz / 4.0, pi / 4.0, {{1.0, 0.0}}, true);
}

// The true peak of a loop cycle, read across its wrap as the limiter reads
// it (an abrupt start or end would add a real overshoot of its own).
double loopPeak(const StereoBuffer& cycle) {
    const InterSamplePeak detector;
    const long long n = static_cast<long long>(cycle.frames());
    double peak = 0.0;
    for (const std::vector<float>* channel : {&cycle.left, &cycle.right}) {
        auto sampleAt = [&](long long i) {
            return static_cast<double>((*channel)[static_cast<std::size_t>((i % n + n) % n)]);
        };
        for (long long i = 0; i < n; ++i) {
            peak = std::max(peak, detector.peakFrom(i, sampleAt));
        }
    }
    return peak;
}

} // namespace

TEST(Meter, ReadsTheStandardsTestTones) {
    struct Case {
        const char* what;
        std::vector<Segment> segments;
        bool stereo;
        double lufs; // or LU, for the loudness range
    };
    const Case cases[] = {
        {"full scale in one channel", {{5.0, 0.0}}, false, -3.01},
        {"-23 dBFS in both", {{20.0, -23.0}}, true, -23.0},
        {"quiet ends under the relative gate",
         {{10.0, -36.0}, {60.0, -23.0}, {10.0, -36.0}},
         true,
         -23.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(integratedLoudness(sine(997.0, 0.0, c.segments, c.stereo)), c.lufs, 0.05)
            << c.what;
    }
    EXPECT_NEAR(toDecibels(loopPeak(crestsBetweenSamples())), 0.0, 0.05)
        << "crests between samples";

    // The loudness range's own test signals: a level step in mid-programme.
    const Case steps[] = {
        {"-20 then -30 dBFS", {{20.0, -20.0}, {20.0, -30.0}}, true, 10.0},
        {"-20 then -15 dBFS", {{20.0, -20.0}, {20.0, -15.0}}, true, 5.0},
        {"a steady tone", {{20.0, -20.0}}, true, 0.0},
    };
    for (const Case& c : steps) {
        EXPECT_NEAR(loudnessRange(sine(997.0, 0.0, c.segments, c.stereo)), c.lufs, 0.1) << c.what;
    }
}

TEST(Limiter, KeepsTheTruePeakUnderTheCeiling) {
    const LimiterSettings settings;
    struct Case {
        const char* what;
        StereoBuffer signal;
        double gain;
    };
    const Case cases[] = {
        {"crests between samples", crestsBetweenSamples(), 1.0},
        // Loud bursts that start abruptly, one of them running over the wrap.
        {"bursts 12 dB over", sine(997.0, 0.0, {{0.3, 0.0}, {0.4, -30.0}, {0.3, 0.0}}, true),
         fromDecibels(12.0)},
    };
    // The gain moves within the interpolation window as it ramps down, which
    // lets a peak through by a few millionths of a dB; a thousandth is far
    // below what the 16-bit file resolves.
    const double allowed = settings.ceiling * fromDecibels(0.001);
    for (const Case& c : cases) {
        const double peak = loopPeak(limitCycle(c.signal, c.gain, settings));
        EXPECT_LE(peak, allowed) << c.what;
        EXPECT_GT(peak, 0.9 * settings.ceiling) << c.what;
    }
    const StereoBuffer quiet = sine(997.0, 0.0, {{1.0, -6.0}}, true);
    EXPECT_EQ(limitCycle(quiet, 1.0, settings).left, quiet.left) << "below the ceiling";
}
