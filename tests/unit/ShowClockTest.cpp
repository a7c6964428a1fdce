#include "app/ShowClock.h"

#include "base/ShowConstants.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

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

TEST(ShowClock, HeartShaderStartsItsBeatWhereTheMusicStarts) {
    // The background shader cannot be told the music's offset, so it holds
    // its own copy of the number.
    std::ifstream shader(VELMORA_SOURCE_DIR "/data/heart.vsh");
    const std::string source{std::istreambuf_iterator<char>(shader),
                             std::istreambuf_iterator<char>()};
    std::smatch match;
    ASSERT_TRUE(
        std::regex_search(source, match, std::regex(R"(const float MUSIC_START_MS = ([0-9.]+);)")));
    EXPECT_EQ(std::stod(match[1]), static_cast<double>(musicStartMs));
}
