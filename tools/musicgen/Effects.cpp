#include "Effects.h"

#include <algorithm>
#include <cmath>

namespace {

std::size_t framesFor(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * sampleRateHz));
}

// In-place fast Walsh-Hadamard transform scaled to stay lossless: every line
// feeds every other with equal weight.
template <std::size_t N> void hadamard(std::array<double, N>& v) {
    for (std::size_t span = 1; span < N; span *= 2) {
        for (std::size_t i = 0; i < N; i += 2 * span) {
            for (std::size_t j = i; j < i + span; ++j) {
                const double a = v[j];
                const double b = v[j + span];
                v[j] = a + b;
                v[j + span] = a - b;
            }
        }
    }
    const double scale = 1.0 / std::sqrt(static_cast<double>(N));
    for (double& x : v) {
        x *= scale;
    }
}

} // namespace

PingPongDelay::PingPongDelay(double delaySeconds, double feedback, double dampingHz)
    : leftLine(framesFor(delaySeconds)), rightLine(framesFor(delaySeconds)),
      feedbackGain(feedback) {
    damping.tune(dampingHz);
}

StereoFrame PingPongDelay::process(StereoFrame input) {
    const StereoFrame echo{leftLine.read(), rightLine.read()};
    // Everything enters on the left; the left echo feeds the right line and
    // the right echo feeds back to the left.
    const StereoFrame damped = damping.process(echo);
    leftLine.write(0.5 * (input.left + input.right) + feedbackGain * damped.right);
    rightLine.write(damped.left);
    return echo;
}

Reverb::Reverb(double decaySeconds, double dampingHz, double preDelaySeconds)
    : preDelay(std::max<std::size_t>(1, framesFor(preDelaySeconds))) {
    // Mutually prime lengths between 25 and 60 ms keep the echo density even.
    constexpr std::array<std::size_t, lineCount> lengths{1117, 1277, 1493, 1657,
                                                         1871, 2053, 2311, 2647};
    for (std::size_t k = 0; k < lineCount; ++k) {
        lines.emplace_back(lengths[k]);
        damping[k].tune(dampingHz);
        // Gain per pass so that the tail falls 60 dB in decaySeconds.
        lineGain[k] =
            std::pow(10.0, -3.0 * static_cast<double>(lengths[k]) / (decaySeconds * sampleRateHz));
    }
    constexpr std::array<std::size_t, 4> diffuserLengths{142, 107, 379, 277};
    for (std::size_t length : diffuserLengths) {
        diffusers.emplace_back(length, 0.7);
    }
}

StereoFrame Reverb::process(StereoFrame input) {
    double x = preDelay.read();
    preDelay.write(0.5 * (input.left + input.right));
    for (AllPass& diffuser : diffusers) {
        x = diffuser.process(x);
    }
    std::array<double, lineCount> state{};
    for (std::size_t k = 0; k < lineCount; ++k) {
        state[k] = lines[k].read();
    }
    const StereoFrame output{state[0] - state[2] + state[4] - state[6],
                             state[1] - state[3] + state[5] - state[7]};
    hadamard(state);
    for (std::size_t k = 0; k < lineCount; ++k) {
        const double sign = (k % 2 == 0) ? 1.0 : -1.0;
        lines[k].write(damping[k].process(state[k] * lineGain[k]) + sign * 0.35 * x);
    }
    return output * 0.5;
}
