#include "app/ShowClock.h"

#include "base/ShowConstants.h"

float showClockFromTicks(std::uint32_t ticks) {
    // The remainder is below 2^24, so its conversion to float is exact.
    const float cycleMilliseconds = static_cast<float>(ticks % showCycleMilliseconds);
    return cycleMilliseconds / static_cast<float>(millisecondsPerShowUnit) - 1.0f;
}
