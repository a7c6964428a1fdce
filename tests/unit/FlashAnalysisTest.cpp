// The flash check on made-up frames whose flashes are known.
#include "flashcheck/FlashAnalysis.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace {

// A small picture keeps the test quick: a 10-degree field is half of it each
// way, 160 x 120 pixels, and a quarter of that is 4800 pixels.
constexpr int width = 320;
constexpr int height = 240;
constexpr int framesPerSecond = 60;
constexpr double seconds = 2.0;

using Colour = std::array<std::uint8_t, 3>;
constexpr Colour black{0, 0, 0};
constexpr Colour white{255, 255, 255};
constexpr Colour red{255, 0, 0};
// The same relative luminance as the red, 0.2126, without its redness.
constexpr Colour grey{127, 127, 127};

// Frames whose pixel (x, y) in frame k has colour(x, y, k).
FlashFigures analyse(const std::function<Colour(int, int, int)>& colour) {
    FlashAnalyser analyser(width, height, framesPerSecond);
    std::vector<std::uint8_t> frame(std::size_t{width} * height * 4);
    for (int k = 0; k < seconds * framesPerSecond; ++k) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Colour c = colour(x, y, k);
                std::copy(c.begin(), c.end(), &frame[(std::size_t{width} * y + x) * 4]);
            }
        }
        analyser.addFrame(frame.data());
    }
    return analyser.figures();
}

// Whether frame k is in the "on" half of a flash that comes `perSecond` times
// a second (each change of half a transition, two a flash).
bool on(int k, double perSecond) {
    return static_cast<int>(k * 2.0 * perSecond / framesPerSecond) % 2 == 1;
}

// Flashing `perSecond` times a second in a square of `side` pixels at the
// top left corner.
FlashFigures flashingSquare(int side, double perSecond, Colour bright, Colour dark) {
    return analyse([=](int x, int y, int k) {
        return x < side && y < side && on(k, perSecond) ? bright : dark;
    });
}

} // namespace

TEST(FlashAnalysis, MoreThanThreeFlashesASecondOverAQuarterOfAFieldFail) {
    const FlashFigures fourEverywhere = flashingSquare(width, 4, white, black);
    EXPECT_FALSE(fourEverywhere.passes());
    EXPECT_DOUBLE_EQ(fourEverywhere.generalOverQuarterField.value, 4.0);
    EXPECT_DOUBLE_EQ(fourEverywhere.generalScreenShare.value, 1.0);
    EXPECT_DOUBLE_EQ(fourEverywhere.redOverQuarterField.value, 0.0);

    const FlashFigures threeEverywhere = flashingSquare(width, 3, white, black);
    EXPECT_TRUE(threeEverywhere.passes());
    EXPECT_DOUBLE_EQ(threeEverywhere.generalOverQuarterField.value, 3.0);

    // Six a second in 72 x 72 pixels (5184, more than a quarter of a field)
    // fails; in 68 x 68 (4624, less) it passes, as the busiest spot.
    EXPECT_FALSE(flashingSquare(72, 6, white, black).passes());
    const FlashFigures small = flashingSquare(68, 6, white, black);
    EXPECT_TRUE(small.passes());
    EXPECT_DOUBLE_EQ(small.generalOverQuarterField.value, 0.0);
    EXPECT_DOUBLE_EQ(small.generalBusiestSpot.value, 6.0);
    EXPECT_NEAR(small.generalScreenShare.value, 68.0 * 68.0 / (width * height), 1e-9);
}

TEST(FlashAnalysis, SaturatedRedAndOnlyLargeEnoughChangesCount) {
    // Red and grey of the same luminance: red flashes only.
    const FlashFigures redAndGrey = flashingSquare(width, 4, red, grey);
    EXPECT_FALSE(redAndGrey.passes());
    EXPECT_DOUBLE_EQ(redAndGrey.redOverQuarterField.value, 4.0);
    EXPECT_DOUBLE_EQ(redAndGrey.generalOverQuarterField.value, 0.0);

    // Changes under a tenth of the maximum luminance (black to 0.088), and
    // changes whose darker state is above 0.8 (0.83 to white), are no
    // transitions.
    const FlashFigures faint = flashingSquare(width, 8, Colour{84, 84, 84}, black);
    const FlashFigures bright = flashingSquare(width, 8, white, Colour{235, 235, 235});
    EXPECT_DOUBLE_EQ(faint.generalBusiestSpot.value + bright.generalBusiestSpot.value, 0.0);
}
