// The whole application in-process: start-up on a real display, frames read
// back from the framebuffer.
#include "app/IntroApp.h"
#include "render/SceneTransforms.h"

#include "../gl/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace {

struct Pixel {
    int r, g, b;
};

class Frame {
public:
    static constexpr int width = 800;
    static constexpr int height = 600;

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

// First Quad.cpp check site: the one that reports the error the extension
// query leaves behind in a core context.
int firstCheckSiteLine() {
    std::ifstream source(VELMORA_SOURCE_DIR "/render/Quad.cpp");
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        if (line.find("GL_CHECK_SITE();") != std::string::npos &&
            line.find("#define") == std::string::npos) {
            return number;
        }
    }
    return -1;
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

TEST_F(ShowFrames, StartUpBuildsEverythingAndPrintsOnlyTheExpectedLines) {
    ASSERT_EQ(initResult, 0);
    char* base = SDL_GetBasePath();
    const std::string dir = base;
    SDL_free(base);
    EXPECT_EQ(startupOutput, "Compiling shader : " + dir +
                                 "/vert.vsh\n"
                                 "Compiling shader : " +
                                 dir +
                                 "/frag.fsh\n"
                                 "Linking program\n"
                                 "Compiling shader : " +
                                 dir +
                                 "/heart.vsh\n"
                                 "Compiling shader : " +
                                 dir +
                                 "/heart.fsh\n"
                                 "Linking program\n"
                                 "glError in file Quad.cpp @ line " +
                                 std::to_string(firstCheckSiteLine()) + ": XX\n");
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
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
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
