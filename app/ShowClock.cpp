#include "app/ShowClock.h"

float showClockFromTicks(std::uint32_t ticks) {
    // The remainder is below 2^24, so its conversion to float is exact.
    const float cycleMilliseconds = static_cast<float>(ticks % showCycleMilliseconds);
    return cycleMilliseconds / 4000.0f - 1.0f;
}
