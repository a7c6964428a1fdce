// Two channels of float samples. The music is one cycle of a loop, so voices
// write into a buffer circularly: whatever rings past the end of the cycle
// lands at its start, where it would sound after the player's jump back.
#pragma once

#include "base/ShowConstants.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr double sampleRateHz = audioSampleRate;
constexpr double twoPi = 2.0 * pi;

// One frame, or a pair of per-channel settings. The operators work channel
// by channel, in the order written, so a stereo expression rounds exactly as
// its two one-channel forms would.
struct StereoFrame {
    double left;
    double right;
};

inline StereoFrame operator*(StereoFrame a, StereoFrame b) {
    return {a.left * b.left, a.right * b.right};
}
inline StereoFrame operator*(double gain, StereoFrame x) {
    return {gain * x.left, gain * x.right};
}
inline StereoFrame operator*(StereoFrame x, double gain) {
    return {x.left * gain, x.right * gain};
}
inline StereoFrame operator+(StereoFrame a, StereoFrame b) {
    return {a.left + b.left, a.right + b.right};
}
inline StereoFrame operator+(StereoFrame x, double offset) {
    return {x.left + offset, x.right + offset};
}

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    explicit StereoBuffer(std::size_t frameCount)
        : left(frameCount, 0.0f), right(frameCount, 0.0f) {}

    std::size_t frames() const { return left.size(); }

    // A copy of `count` frames from `first` on.
    StereoBuffer slice(std::size_t first, std::size_t count) const {
        StereoBuffer part(0);
        part.left.assign(left.begin() + static_cast<std::ptrdiff_t>(first),
                         left.begin() + static_cast<std::ptrdiff_t>(first + count));
        part.right.assign(right.begin() + static_cast<std::ptrdiff_t>(first),
                          right.begin() + static_cast<std::ptrdiff_t>(first + count));
        return part;
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

// Adds `frames` frames to a cycle from frame `start` on, wrapping at its end.
// `frameAt(i, t)` gives frame i, t seconds after the start.
template <typename FrameAt>
void addCircular(StereoBuffer& out, long long start, long long frames, FrameAt frameAt) {
    const long long n = static_cast<long long>(out.frames());
    std::size_t index = static_cast<std::size_t>(((start % n) + n) % n);
    for (long long i = 0; i < frames; ++i) {
        const StereoFrame x = frameAt(i, static_cast<double>(i) / sampleRateHz);
        out.left[index] += static_cast<float>(x.left);
        out.right[index] += static_cast<float>(x.right);
        if (++index == out.frames()) {
            index = 0;
        }
    }
}

// Interleaved 16-bit stereo (left, right, left ...) as full-scale floats.
StereoBuffer fromInterleaved(const std::vector<std::int16_t>& interleaved);

// Constant-power panning, scaled so that the centre keeps unit gain on both
// sides. `pan` runs from -1 (left) to +1 (right).
StereoFrame panGains(double pan);
