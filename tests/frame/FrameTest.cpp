// The whole application in-process: start-up on a real display, frames read
// back from the framebuffer.
#include "app/IntroApp.h"
#include "base/ShowConstants.h"
#include "render/SceneTransforms.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
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

class ShowFrames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        app = std::make_unique<IntroApp>();
        StdoutCapture capture;
        initResult = app->init();
        startupOutput = capture.finish();
    }
    static void TearDownTestSuite() { app.reset(); }

    Frame frameAt(float t) {
        app->showClock = t;
        app->renderFrame();
        return Frame::readBack();
    }

    static inline std::unique_ptr<IntroApp> app;
    static inline int initResult = -2;
    static inline std::string startupOutput;
};

} // namespace

// Start-up's console lines are checked end to end on the real executable.
TEST_F(ShowFrames, StartUpBuildsEverything) {
    ASSERT_EQ(initResult, 0) << startupOutput;
    EXPECT_NE(app->window, nullptr);
    EXPECT_NE(app->textProgram->programId, 0u);
    EXPECT_NE(app->backgroundProgram->programId, 0u);
    EXPECT_GE(app->texLocation, 0);
    EXPECT_GE(app->mvpLocation, 0);
    EXPECT_GE(app->timeLocation, 0);
    EXPECT_EQ(app->view, cameraView());
    EXPECT_EQ(app->projection, cameraProjection());
    int width = 0, height = 0;
    SDL_GetWindowSize(app->window, &width, &height);
    EXPECT_EQ(width, windowWidth);
    EXPECT_EQ(height, windowHeight);
}

TEST_F(ShowFrames, BackgroundIsOpaqueSoEveryFrameLooksTheSame) {
    ASSERT_EQ(initResult, 0);
    // The very first frame runs the background without blending, later ones with it.
    const Frame first = frameAt(0.1f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    const Frame second = frameAt(0.1f);
    EXPECT_EQ(first.bytes, second.bytes);
}

TEST_F(ShowFrames, HeartFillsTheCentreOfADarkStage) {
    ASSERT_EQ(initResult, 0);
    const Frame frame = frameAt(12.3f);
    const Pixel centre = frame.at(400, 300);
    EXPECT_GT(centre.r, 120);
    EXPECT_GT(centre.r, 2 * centre.g);
    for (const Pixel corner :
         {frame.at(2, 2), frame.at(797, 2), frame.at(2, 597), frame.at(797, 597)}) {
        EXPECT_LT(corner.r + corner.g + corner.b, 60);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShowFrames, BackgroundMovesWithTheClock) {
    ASSERT_EQ(initResult, 0);
    const Frame a = frameAt(3.0f);
    const Frame b = frameAt(3.05f);
    EXPECT_GT(a.meanDifference(b), 0.5);
}

TEST_F(ShowFrames, WrapOfTheClockIsSeamless) {
    ASSERT_EQ(initResult, 0);
    // The jump from the last millisecond of a cycle to the first changes the
    // picture no more than one millisecond of ordinary running does.
    const Frame last = frameAt(26.99975f);
    const Frame first = frameAt(-1.0f);
    const Frame before = frameAt(12.0f);
    const Frame after = frameAt(12.00025f);
    EXPECT_LT(last.meanDifference(first), before.meanDifference(after) + 0.05);
}

TEST_F(ShowFrames, ScrollRunsAlongTheBottomOfTheScreen) {
    ASSERT_EQ(initResult, 0);
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

TEST_F(ShowFrames, GreetingIsCentredOnTheMiddleOfTheScreen) {
    ASSERT_EQ(initResult, 0);
    // s = 0 at 8t = 27 pi: the name at its natural width, pen at its offset.
    const TextExtent text = textExtent(frameAt(static_cast<float>(27.0 * pi / 8.0)));
    ASSERT_GT(text.count, 300);
    EXPECT_NEAR((text.left + text.right) / 2.0, 400.0, 16.0);
    EXPECT_NEAR(baselineRow(text), 300, 3);
    EXPECT_GT(text.top, 200);
}

TEST_F(ShowFrames, NoTextAtExactlyTen) {
    ASSERT_EQ(initResult, 0);
    const Frame atTen = frameAt(10.0f);
    EXPECT_EQ(textExtent(atTen).count, 0);
    // Just before, the opening text has left the screen: the frames match.
    EXPECT_LT(atTen.meanDifference(frameAt(std::nextafter(10.0f, 0.0f))), 0.05);
    EXPECT_GT(textExtent(frameAt(std::nextafter(10.0f, 11.0f))).count, 300);
    EXPECT_EQ(textExtent(frameAt(18.0f)).count, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShowFrames, TextPassLeavesOnlyItsVertexArrayAndSamplerBound) {
    ASSERT_EQ(initResult, 0);
    frameAt(12.3f);
    GLint value = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &value);
    EXPECT_EQ(static_cast<GLuint>(value), app->textVertexArray);
    glGetIntegerv(GL_SAMPLER_BINDING, &value);
    EXPECT_EQ(static_cast<GLuint>(value), app->fontSampler);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    GLint attributeEnabled = 1;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &attributeEnabled);
    EXPECT_EQ(attributeEnabled, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
