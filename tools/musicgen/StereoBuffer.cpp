#include "StereoBuffer.h"

#include <algorithm>
#include <cmath>

StereoFrame panGains(double pan) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * pi / 4.0;
    return {std::cos(angle) * std::sqrt(2.0), std::sin(angle) * std::sqrt(2.0)};
}
