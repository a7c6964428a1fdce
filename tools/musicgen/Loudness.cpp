#include "Loudness.h"

#include "Timeline.h"
#include "base/ShowConstants.h"

#include <algorithm>

namespace {

class Biquad {
public:
    Biquad(double b0, double b1, double b2, double a1, double a2)
        : nb0(b0), nb1(b1), nb2(b2), na1(a1), na2(a2) {}

    double process(double x) {
        const double y = nb0 * x + z1;
        z1 = nb1 * x - na1 * y + z2;
        z2 = nb2 * x - na2 * y;
        return y;
    }

private:
    double nb0, nb1, nb2, na1, na2;
    double z1 = 0.0;
    double z2 = 0.0;
};

// The K-weighting curve: a high shelf of about +4 dB above 1.5 kHz (the
// head's effect) and a high-pass around 38 Hz. The published coefficients are
// for 48 kHz; these are the same analogue prototypes mapped to 44.1 kHz.
Biquad headShelf(double sampleRate) {
    const double f0 = 1681.974450955533;
    const double gainDb = 3.999843853973347;
    const double q = 0.7071752369554196;
    const double k = std::tan(pi * f0 / sampleRate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return Biquad((vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
                  (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                  (1.0 - k / q + k * k) / a0);
}

Biquad lowCut(double sampleRate) {
    const double f0 = 38.13547087602444;
    const double q = 0.5003270373238773;
    const double k = std::tan(pi * f0 / sampleRate);
    const double a0 = 1.0 + k / q + k * k;
    return Biquad(1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0);
}

double blockLoudness(double meanSquare) {
    return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-20));
}

// Per frame, the sum over the channels of the squared K-weighted samples.
std::vector<double> weightedPower(const StereoBuffer& signal) {
    const std::size_t frames = signal.frames();
    std::vector<double> weighted(frames, 0.0);
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<float>& x = channel == 0 ? signal.left : signal.right;
        Biquad shelf = headShelf(sampleRateHz);
        Biquad highPass = lowCut(sampleRateHz);
        for (std::size_t i = 0; i < frames; ++i) {
            const double y = highPass.process(shelf.process(x[i]));
            weighted[i] += y * y;
        }
    }
    return weighted;
}

// Mean power of each window of `seconds`, one window every `hopSeconds`.
std::vector<double> windowPowers(const std::vector<double>& weighted, double seconds,
                                 double hopSeconds) {
    const std::size_t length = static_cast<std::size_t>(std::lround(seconds * sampleRateHz));
    const std::size_t hop = static_cast<std::size_t>(std::lround(hopSeconds * sampleRateHz));
    std::vector<double> windows;
    for (std::size_t start = 0; start + length <= weighted.size(); start += hop) {
        double sum = 0.0;
        for (std::size_t i = start; i < start + length; ++i) {
            sum += weighted[i];
        }
        windows.push_back(sum / static_cast<double>(length));
    }
    return windows;
}

// The mean power of the windows louder than `thresholdLufs`.
double gatedMean(const std::vector<double>& windows, double thresholdLufs) {
    double sum = 0.0;
    std::size_t count = 0;
    for (double z : windows) {
        if (blockLoudness(z) > thresholdLufs) {
            sum += z;
            ++count;
        }
    }
    return count > 0 ? sum / static_cast<double>(count) : 0.0;
}

} // namespace

double integratedLoudness(const StereoBuffer& signal) {
    // 400 ms blocks overlapping by 75 %, an absolute gate, then a relative
    // gate 10 LU below the mean of what passed.
    const std::vector<double> blocks = windowPowers(weightedPower(signal), 0.4, 0.1);
    const double relativeGate = blockLoudness(gatedMean(blocks, silenceLufs)) - 10.0;
    return blockLoudness(gatedMean(blocks, std::max(silenceLufs, relativeGate)));
}

double loudnessRange(const StereoBuffer& signal) {
    // 3 s windows every 100 ms, as a meter's short-term reading moves.
    const std::vector<double> windows = windowPowers(weightedPower(signal), 3.0, 0.1);
    const double relativeGate = blockLoudness(gatedMean(windows, silenceLufs)) - 20.0;
    std::vector<double> passed;
    for (double z : windows) {
        if (blockLoudness(z) > std::max(silenceLufs, relativeGate)) {
            passed.push_back(blockLoudness(z));
        }
    }
    if (passed.empty()) {
        return 0.0;
    }
    std::sort(passed.begin(), passed.end());
    auto percentile = [&passed](double fraction) {
        const double last = static_cast<double>(passed.size() - 1);
        return passed[static_cast<std::size_t>(std::lround(fraction * last))];
    };
    return percentile(0.95) - percentile(0.10);
}

InterSamplePeak::InterSamplePeak()
    : coefficients(static_cast<std::size_t>(phaseCount * tapCount), 0.0) {
    for (int phase = 0; phase < phaseCount; ++phase) {
        const double fraction = static_cast<double>(phase) / phaseCount;
        for (int j = 0; j < tapCount; ++j) {
            // Distance from the interpolated point to tap j's sample.
            const double x = static_cast<double>(j - tapCount / 2 + 1) - fraction;
            const double sinc = x == 0.0 ? 1.0 : std::sin(pi * x) / (pi * x);
            const double window = 0.5 * (1.0 + std::cos(pi * x / (tapCount / 2)));
            coefficients[static_cast<std::size_t>(phase * tapCount + j)] = sinc * window;
        }
    }
}

double truePeak(const StereoBuffer& signal) {
    const InterSamplePeak detector;
    const long long frames = static_cast<long long>(signal.frames());
    double peak = 0.0;
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<float>& x = channel == 0 ? signal.left : signal.right;
        auto sampleAt = [&x, frames](long long i) {
            return (i >= 0 && i < frames) ? static_cast<double>(x[static_cast<std::size_t>(i)])
                                          : 0.0;
        };
        for (long long n = 0; n < frames; ++n) {
            peak = std::max(peak, detector.peakFrom(n, sampleAt));
        }
    }
    return peak;
}
