#include "StereoBuffer.h"

#include <algorithm>
#include <cmath>

StereoFrame panGains(double pan) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * pi / 4.0;
    return {std::cos(angle) * std::sqrt(2.0), std::sin(angle) * std::sqrt(2.0)};
}

StereoBuffer fromInterleaved(const std::vector<std::int16_t>& interleaved) {
    StereoBuffer signal(interleaved.size() / audioChannels);
    for (std::size_t i = 0; i < signal.frames(); ++i) {
        signal.left[i] = static_cast<float>(interleaved[audioChannels * i] / 32768.0);
        signal.right[i] = static_cast<float>(interleaved[audioChannels * i + 1] / 32768.0);
    }
    return signal;
}
