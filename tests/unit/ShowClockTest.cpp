#include "app/ShowClock.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ShowClock, RunsFromMinusOneByOneUnitPerFourSecondsAndWrapsEveryCycle) {
    const struct {
        std::uint32_t ticks;
        float t;
    } cases[] = {
        {0, -1.0f},
        {4000, 0.0f},
        {44000, 10.0f}, // phase bounds fall on whole milliseconds
        {50000, 11.5f},
        {76000, 18.0f},
        {111999, 111999.0f / 4000.0f - 1.0f},
        {112000, -1.0f},
        {112000 * 5 + 50000, 11.5f},
        // The remainder of the unsigned reading: a signed one would go
        // negative past 2^31 ms.
        {0x80000000u, 107648.0f / 4000.0f - 1.0f},
        {UINT32_MAX, 103295.0f / 4000.0f - 1.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(showClockFromTicks(c.ticks), c.t) << "ticks " << c.ticks;
    }
}
