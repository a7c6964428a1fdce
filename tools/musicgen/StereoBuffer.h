// Two channels of float samples. The music is one cycle of a loop, so voices
// write into a buffer circularly: whatever rings past the end of the cycle
// lands at its start, where it would sound after the player's jump back.
#pragma once

#include <cstddef>
#include <vector>

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    explicit StereoBuffer(std::size_t frameCount)
        : left(frameCount, 0.0f), right(frameCount, 0.0f) {}

    std::size_t frames() const { return left.size(); }

    void add(std::size_t frame, double l, double r) {
        left[frame] += static_cast<float>(l);
        right[frame] += static_cast<float>(r);
    }

    // this += gain * other
    void mix(const StereoBuffer& other, double gain) {
        const float g = static_cast<float>(gain);
        for (std::size_t i = 0; i < frames(); ++i) {
            left[i] += g * other.left[i];
            right[i] += g * other.right[i];
        }
    }
};

// Writes consecutive frames from a start position, wrapping at the cycle end.
class CircularWriter {
public:
    CircularWriter(StereoBuffer& target, long long startFrame)
        : buffer(target), index(wrap(startFrame, target.frames())) {}

    void write(double l, double r) {
        buffer.add(index, l, r);
        if (++index == buffer.frames()) {
            index = 0;
        }
    }

private:
    static std::size_t wrap(long long frame, std::size_t length) {
        const long long n = static_cast<long long>(length);
        return static_cast<std::size_t>(((frame % n) + n) % n);
    }

    StereoBuffer& buffer;
    std::size_t index;
};

// Constant-power panning, scaled so that the centre keeps unit gain on both
// sides. `pan` runs from -1 (left) to +1 (right).
struct PanGains {
    double left;
    double right;
};

PanGains panGains(double pan);
