#include "StereoBuffer.h"

#include <algorithm>
#include <cmath>

PanGains panGains(double pan) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * 0.7853981633974483;
    return {std::cos(angle) * std::sqrt(2.0), std::sin(angle) * std::sqrt(2.0)};
}
