// Time-based effects and the way they are run over a loop cycle.
#pragma once

#include "Filters.h"
#include "StereoBuffer.h"

#include <array>
#include <cstddef>
#include <vector>

// A delay line of fixed length; read() gives the sample written `length`
// writes ago.
class DelayLine {
public:
    explicit DelayLine(std::size_t length) : samples(length, 0.0) {}

    double read() const { return samples[position]; }
    void write(double value) {
        samples[position] = value;
        if (++position == samples.size()) {
            position = 0;
        }
    }

private:
    std::vector<double> samples;
    std::size_t position = 0;
};

// Echoes that alternate between the sides, each a little darker than the one
// before, as tape echoes do.
class PingPongDelay {
public:
    PingPongDelay(double delaySeconds, double feedback, double dampingHz);

    StereoFrame process(StereoFrame input);

private:
    DelayLine leftLine;
    DelayLine rightLine;
    StereoFilter<OnePoleLowPass> damping;
    double feedbackGain;
};

// A feedback delay network: eight delay lines mixed through a Hadamard
// matrix, each damped by a low-pass, with a short diffuser in front so the
// onset is a smear rather than a string of echoes.
class Reverb {
public:
    Reverb(double decaySeconds, double dampingHz, double preDelaySeconds);

    StereoFrame process(StereoFrame input);

private:
    static constexpr std::size_t lineCount = 8;

    class AllPass {
    public:
        AllPass(std::size_t length, double gain) : line(length), g(gain) {}
        double process(double x) {
            const double delayed = line.read();
            const double v = x + g * delayed;
            line.write(v);
            return delayed - g * v;
        }

    private:
        DelayLine line;
        double g;
    };

    DelayLine preDelay;
    std::vector<AllPass> diffusers;
    std::vector<DelayLine> lines;
    std::array<OnePoleLowPass, lineCount> damping;
    std::array<double, lineCount> lineGain{};
};

// Runs an effect (anything with `StereoFrame process(StereoFrame)`) over a
// cycle buffer twice and keeps the second pass: the first pass fills the
// effect's memory with the end of the cycle, so what rings over the loop
// point is already there at the start.
template <typename Effect> StereoBuffer processCycle(const StereoBuffer& input, Effect&& effect) {
    StereoBuffer output(input.frames());
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < input.frames(); ++i) {
            const StereoFrame y = effect.process({input.left[i], input.right[i]});
            if (pass == 1) {
                output.left[i] = static_cast<float>(y.left);
                output.right[i] = static_cast<float>(y.right);
            }
        }
    }
    return output;
}
