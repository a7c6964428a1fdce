#include "app/ShowClock.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ShowClock, RunsFromMinusOneToJustUnderTwentySeven) {
    EXPECT_EQ(showClockFromTicks(0), -1.0f);
    EXPECT_EQ(showClockFromTicks(4000), 0.0f);
    EXPECT_EQ(showClockFromTicks(50000), 11.5f);
    EXPECT_EQ(showClockFromTicks(111999), 111999.0f / 4000.0f - 1.0f);
    EXPECT_FLOAT_EQ(showClockFromTicks(111999), 26.99975f);
}

TEST(ShowClock, WrapsEveryCycle) {
    EXPECT_EQ(showClockFromTicks(112000), -1.0f);
    EXPECT_EQ(showClockFromTicks(112000 * 5 + 50000), 11.5f);
}

TEST(ShowClock, PhaseBoundariesFallOnSingleMilliseconds) {
    EXPECT_EQ(showClockFromTicks(44000), 10.0f);
    EXPECT_EQ(showClockFromTicks(76000), 18.0f);
    EXPECT_LT(showClockFromTicks(43999), 10.0f);
    EXPECT_GT(showClockFromTicks(44001), 10.0f);
}

TEST(ShowClock, TakesTheRemainderOfTheUnsignedReading) {
    // A signed reading would go negative past 2^31 ms; the unsigned one keeps
    // counting: 4294967295 mod 112000 = 103295, and 2^31 mod 112000 = 107648.
    EXPECT_EQ(showClockFromTicks(UINT32_MAX), 103295.0f / 4000.0f - 1.0f);
    EXPECT_EQ(showClockFromTicks(0x80000000u), 107648.0f / 4000.0f - 1.0f);
    // Across the timer's own wrap the clock stays in range.
    for (std::uint32_t step = 0; step < 1000; ++step) {
        const float t = showClockFromTicks(UINT32_MAX - 300000 + step * 997);
        ASSERT_GE(t, -1.0f);
        ASSERT_LT(t, 27.0f);
    }
}
