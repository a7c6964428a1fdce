// Frames of the running show, read back from the framebuffer.
#include "ShowEnvironment.h"
#include "base/ShowConstants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

struct Pixel {
    int r, g, b;
};

class Frame {
public:
    static constexpr int width = windowWidth;
    static constexpr int height = windowHeight;

    // Reads the frame just presented. The back buffer keeps it on the test
    // bed's software GL; GL itself leaves it undefined after a swap.
    static Frame readBack() {
        Frame frame;
        frame.bytes.resize(width * height * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, frame.bytes.data());
        return frame;
    }

    // x from the left, y from the top, as on screen.
    Pixel at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(height - 1 - y) * width + x) * 3;
        return {bytes[i], bytes[i + 1], bytes[i + 2]};
    }

    double meanDifference(const Frame& other) const {
        double sum = 0.0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            sum += std::abs(int(bytes[i]) - int(other.bytes[i]));
        }
        return sum / static_cast<double>(bytes.size());
    }

    std::vector<unsigned char> bytes;
};

// Pixels of the text colour (a warm white) that the background never reaches.
bool isText(const Pixel& p) {
    return p.r > 200 && p.g > 200 && p.b > 170;
}

struct TextExtent {
    int count = 0;
    int left = Frame::width, right = -1, top = Frame::height, bottom = -1;
    int rowCounts[Frame::height] = {};
};

TextExtent textExtent(const Frame& frame) {
    TextExtent extent;
    for (int y = 0; y < Frame::height; ++y) {
        for (int x = 0; x < Frame::width; ++x) {
            if (isText(frame.at(x, y))) {
                ++extent.count;
                ++extent.rowCounts[y];
                extent.left = std::min(extent.left, x);
                extent.right = std::max(extent.right, x);
                extent.top = std::min(extent.top, y);
                extent.bottom = std::max(extent.bottom, y);
            }
        }
    }
    return extent;
}

// The baseline shows as the lowest row still crossed by many glyphs: below
// it only descenders reach.
int baselineRow(const TextExtent& extent) {
    const int busiest = *std::max_element(extent.rowCounts, extent.rowCounts + Frame::height);
    int row = extent.bottom;
    while (row > 0 && extent.rowCounts[row] < busiest / 3) {
        --row;
    }
    return row;
}

Frame frameAt(float t) {
    ShowEnvironment::app->showClock = t;
    ShowEnvironment::app->renderFrame();
    return Frame::readBack();
}

} // namespace

TEST(ShowFrames, BackgroundMovesWithTheClock) {
    REQUIRE_SHOW();
    const Frame a = frameAt(3.0f);
    const Frame b = frameAt(3.05f);
    EXPECT_GT(a.meanDifference(b), 0.5);
}

TEST(ShowFrames, WrapOfTheClockIsSeamless) {
    REQUIRE_SHOW();
    // The jump from the last millisecond of a cycle to the first changes the
    // picture no more than one millisecond of ordinary running does.
    const Frame last = frameAt(26.99975f);
    const Frame first = frameAt(-1.0f);
    const Frame before = frameAt(12.0f);
    const Frame after = frameAt(12.00025f);
    EXPECT_LT(last.meanDifference(first), before.meanDifference(after) + 0.05);
}

TEST(ShowFrames, ScrollRunsAlongTheBottomOfTheScreen) {
    REQUIRE_SHOW();
    for (const float t : {3.0f, 22.0f}) {
        const TextExtent text = textExtent(frameAt(t));
        ASSERT_GT(text.count, 2000) << "t " << t;
        // The scroll line fills the width, about 52 rows above the bottom edge.
        EXPECT_LT(text.left, 20) << "t " << t;
        EXPECT_GT(text.right, 780) << "t " << t;
        EXPECT_NEAR(baselineRow(text), 600 - 52, 4) << "t " << t;
        EXPECT_GT(text.top, 500) << "t " << t;
    }
}

TEST(ShowFrames, GreetingIsCentredOnTheMiddleOfTheScreen) {
    REQUIRE_SHOW();
    // s = 0 at 8t = 27 pi: the name at its natural width, pen at its offset.
    const TextExtent text = textExtent(frameAt(static_cast<float>(27.0 * pi / 8.0)));
    ASSERT_GT(text.count, 300);
    EXPECT_NEAR((text.left + text.right) / 2.0, 400.0, 16.0);
    EXPECT_NEAR(baselineRow(text), 300, 3);
    EXPECT_GT(text.top, 200);
}
