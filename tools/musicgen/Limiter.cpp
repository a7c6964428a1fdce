#include "Limiter.h"

#include "Loudness.h"
#include "Timeline.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>
#include <vector>

StereoBuffer limitCycle(const StereoBuffer& input, double gain, const LimiterSettings& settings) {
    const long long n = static_cast<long long>(input.frames());
    const long long lookahead = std::max(
        1LL, static_cast<long long>(std::lround(settings.lookaheadSeconds * sampleRateHz)));
    const double releaseCoefficient =
        1.0 - std::exp(-1.0 / (settings.releaseSeconds * sampleRateHz));
    const InterSamplePeak detector;

    auto wrap = [n](long long i) { return static_cast<std::size_t>(((i % n) + n) % n); };
    auto leftAt = [&](long long i) { return gain * input.left[wrap(i)]; };
    auto rightAt = [&](long long i) { return gain * input.right[wrap(i)]; };

    // Sliding minimum of the required gain over the look-ahead window.
    std::deque<std::pair<long long, double>> window;
    double envelope = 1.0;
    // Moving average of the envelope over the look-ahead: turns each drop
    // into a ramp that is complete when the peak reaches the output.
    std::vector<double> ramp(static_cast<std::size_t>(lookahead), 1.0);
    double rampSum = static_cast<double>(lookahead);

    StereoBuffer output(input.frames());
    const long long total = 2 * n + lookahead;
    for (long long i = 0; i < total; ++i) {
        const double peak = std::max(detector.peakFrom(i, leftAt), detector.peakFrom(i, rightAt));
        const double required = peak > settings.ceiling ? settings.ceiling / peak : 1.0;
        while (!window.empty() && window.back().second >= required) {
            window.pop_back();
        }
        window.emplace_back(i, required);
        while (window.front().first < i - lookahead) {
            window.pop_front();
        }
        const double held = window.front().second;
        envelope = held < envelope ? held : envelope + (held - envelope) * releaseCoefficient;

        const std::size_t slot = static_cast<std::size_t>(i % lookahead);
        rampSum += envelope - ramp[slot];
        ramp[slot] = envelope;
        const double applied = rampSum / static_cast<double>(lookahead);

        const long long source = i - lookahead;
        if (source >= n) {
            const std::size_t at = wrap(source);
            output.left[at] = static_cast<float>(leftAt(source) * applied);
            output.right[at] = static_cast<float>(rightAt(source) * applied);
        }
    }
    return output;
}
