// Frames of the running show, read back from the framebuffer.
#include "ShowEnvironment.h"
#include "app/ShowClock.h"
#include "base/ShowConstants.h"
#include "render/SceneTransforms.h"
#include "render/Viewport.h"
#include "support/OffscreenFrame.h"
#include "text/FontRecord.h"
#include "text/TextRenderer.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Pixel {
    int r, g, b;
};

class Frame {
public:
    // Reads the frame just presented. The back buffer keeps it on the test
    // bed's software GL; GL itself leaves it undefined after a swap.
    static Frame readBack() {
        Frame frame;
        frame.bytes.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.bytes.data());
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

    int width = windowWidth;
    int height = windowHeight;
    std::vector<unsigned char> bytes; // RGB, the bottom row first
};

// The text shader's warm white.
constexpr Pixel textColour{255, 242, 219};

// Pixels of the text colour (a warm white) that the background never reaches.
bool isText(const Pixel& p) {
    return p.r > 200 && p.g > 200 && p.b > 170;
}

struct TextExtent {
    int count = 0;
    int left = windowWidth, right = -1, top = windowHeight, bottom = -1;
    std::vector<int> rowCounts;
};

TextExtent textExtent(const Frame& frame) {
    TextExtent extent;
    extent.rowCounts.resize(static_cast<std::size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
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
    const int busiest = *std::max_element(extent.rowCounts.begin(), extent.rowCounts.end());
    int row = extent.bottom;
    while (row > 0 && extent.rowCounts[row] < busiest / 3) {
        --row;
    }
    return row;
}

// Relative luminance of a pixel, as the web's contrast guidelines define it.
double relativeLuminance(const Pixel& p) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(p.r) + 0.7152 * linear(p.g) + 0.0722 * linear(p.b);
}

// Mean luma of a frame, 0 to 1: the BT.709 weights on the 8-bit codes.
double meanLuma(const Frame& frame) {
    double sum = 0.0;
    for (std::size_t i = 0; i < frame.bytes.size(); i += 3) {
        sum += 0.2126 * frame.bytes[i] + 0.7152 * frame.bytes[i + 1] + 0.0722 * frame.bytes[i + 2];
    }
    return sum / (255.0 * static_cast<double>(frame.bytes.size() / 3));
}

// The most values in a row under `threshold`, counting on from the last value
// to the first.
int longestRunBelow(const std::vector<double>& values, double threshold) {
    int longest = 0, run = 0;
    for (std::size_t i = 0; i < 2 * values.size(); ++i) {
        run = values[i % values.size()] < threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return std::min(longest, static_cast<int>(values.size()));
}

// Brightness of a pixel for comparing neighbours: the sum of its channels.
int brightness(const Pixel& p) {
    return p.r + p.g + p.b;
}

// Width of the heart's lit body across a few rows of its upper half, where no
// text passes in the opening.
int heartWidth(const Frame& frame) {
    int width = 0;
    for (const int y : {220, 240, 260}) {
        for (int x = 0; x < frame.width; ++x) {
            width += frame.at(x, y).r > 180 ? 1 : 0;
        }
    }
    return width;
}

// What `draw` leaves in the window, or in `target` when one is given.
template <typename Draw> Frame drawn(OffscreenFrame* target, Draw draw) {
    if (target == nullptr) {
        draw();
        return Frame::readBack();
    }
    target->bind();
    draw();
    const Frame frame{target->width(), target->height(), target->readRgb()};
    target->unbind();
    return frame;
}

Frame frameAt(float t, OffscreenFrame* target = nullptr) {
    return drawn(target, [t] {
        ShowEnvironment::app->showClock = t;
        ShowEnvironment::app->renderFrame();
    });
}

// The background alone at show time t, as the frame at t has it.
Frame backgroundAt(float t, OffscreenFrame* target = nullptr) {
    return drawn(target, [t] {
        IntroApp& app = *ShowEnvironment::app;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(app.backgroundProgram->programId);
        glUniform1f(app.timeLocation, t);
        app.quad->draw();
        SDL_GL_SwapWindow(app.window);
    });
}

// How far each pixel moved from the background towards the text colour: the
// text's opacity there, read in green, where the text and the heart's reds
// differ most. Not a number outside the frame and where the background is
// too near the text's green to tell.
struct Opacity {
    // Green levels between text and background below which a pixel's level
    // tells its opacity too coarsely.
    static constexpr int leastReach = 48;

    Opacity(const Frame& withText, const Frame& background)
        : width(withText.width), height(withText.height) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int behind = background.at(x, y).g, reach = textColour.g - behind;
                values.push_back(reach < leastReach
                                     ? std::nan("")
                                     : (withText.at(x, y).g - behind) / double(reach));
            }
        }
    }
    double operator()(int x, int y) const {
        const bool inside = x >= 0 && y >= 0 && x < width && y < height;
        return inside ? values[static_cast<std::size_t>(y) * width + x] : std::nan("");
    }
    int width, height;
    std::vector<double> values;
};

// The distances over which the text's edges rise from 10 % to 90 % opacity,
// in pixels, along every row and column that crosses them (a slanted edge
// counts wider than it is). Only clean edges count: opacity rising (or
// falling) steadily all the way between the two levels.
std::vector<double> edgeRises(const Opacity& opacity) {
    const double low = 0.1, high = 0.9;
    std::vector<double> rises;
    // Walks one line from (x, y) in steps of (dx, dy).
    const auto walk = [&](int x, int y, int dx, int dy, int length) {
        const auto c = [&](int i) { return opacity(x + i * dx, y + i * dy); };
        for (int i = 0; i + 1 < length; ++i) {
            for (const int sense : {1, -1}) {
                // A rising edge starts at i; a falling one ends at i + 1.
                const auto level = [&](int k) { return sense > 0 ? c(i + k) : c(i + 1 - k); };
                if (!(level(0) <= low && level(1) > low)) {
                    continue;
                }
                int j = 1;
                while (level(j) < high && level(j + 1) >= level(j)) {
                    ++j;
                }
                if (!(level(j) >= high && level(j) >= level(j - 1))) {
                    continue;
                }
                const double start = (low - level(0)) / (level(1) - level(0));
                const double end = j - 1 + (high - level(j - 1)) / (level(j) - level(j - 1));
                rises.push_back(end - start);
            }
        }
    };
    for (int y = 0; y < opacity.height; ++y) {
        walk(0, y, 1, 0, opacity.width);
    }
    for (int x = 0; x < opacity.width; ++x) {
        walk(x, 0, 0, 1, opacity.height);
    }
    return rises;
}

// One glyph alone at the scrolls' size, its pen in the middle of the picture,
// drawn by the text pass over black into `target`.
Frame glyphAlone(char character, OffscreenFrame& target) {
    return drawn(&target, [character] {
        IntroApp& app = *ShowEnvironment::app;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(app.textProgram->programId);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        const glm::mat4 mvp = modelViewProjection(app.projection, app.view, textModel());
        glUniformMatrix4fv(app.mvpLocation, 1, GL_FALSE, &mvp[0][0]);
        drawText(std::string(1, character), app.textProgram->programId, app.fontTexture,
                 app.fontSampler, app.textVertexArray, app.textVertexBuffer, app.texLocation,
                 restingScaleDivX, textScaleDivY, 0.0f, scrollBaselineY);
    });
}

// The area, in pixels, that a glyph's atlas coverage spreads over on screen
// when drawn as glyphAlone() draws it: its quad's projected area times the
// mean coverage of its texels.
double atlasCoveredArea(const Glyph& glyph, const OffscreenFrame& target) {
    double coverage = 0.0;
    const int left = static_cast<int>(std::lround(glyph.s0 * FontRecord::atlasSide));
    const int top = static_cast<int>(std::lround(glyph.t0 * FontRecord::atlasSide));
    for (int y = top; y < top + glyph.height; ++y) {
        for (int x = left; x < left + glyph.width; ++x) {
            coverage += fontRecord.atlas[y * FontRecord::atlasSide + x] / 255.0;
        }
    }
    const IntroApp& app = *ShowEnvironment::app;
    const glm::mat4 mvp = modelViewProjection(app.projection, app.view, textModel());
    const ViewportRect picture = fitViewport(target.width(), target.height());
    // The quad's corners as the text renderer places them, in model units.
    const auto pixels = [](int count, float divisor) {
        return static_cast<float>(count) / divisor;
    };
    const float x0 = pixels(glyph.offsetX, restingScaleDivX);
    const float x1 = x0 + pixels(glyph.width, restingScaleDivX);
    const float y0 = scrollBaselineY + pixels(glyph.offsetY, textScaleDivY);
    const float y1 = y0 - pixels(glyph.height, textScaleDivY);
    const auto onScreen = [&](float x, float y) {
        const glm::vec4 clip = mvp * glm::vec4(x, y, 0.0f, 1.0f);
        return glm::dvec2((clip.x / clip.w + 1.0) * 0.5 * picture.width,
                          (clip.y / clip.w + 1.0) * 0.5 * picture.height);
    };
    const glm::dvec2 corners[4] = {onScreen(x0, y0), onScreen(x0, y1), onScreen(x1, y1),
                                   onScreen(x1, y0)};
    double area = 0.0;
    for (int i = 0; i < 4; ++i) {
        const glm::dvec2 a = corners[i], b = corners[(i + 1) % 4];
        area += 0.5 * (a.x * b.y - b.x * a.y);
    }
    return coverage * std::abs(area) / (glyph.width * glyph.height);
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

} // namespace

TEST(ShowFrames, BackgroundCoversEveryPixel) {
    REQUIRE_SHOW();
    // Alpha 1 everywhere: blending over the cleared frame changes nothing, so
    // the first frame (drawn before blending is on) looks like every other.
    for (const float t : {-1.0f, 5.0f, 12.3f, 24.0f}) {
        frameAt(t); // leaves the show's blending on
        glDisable(GL_BLEND);
        const Frame unblended = backgroundAt(t);
        glEnable(GL_BLEND);
        EXPECT_EQ(unblended.meanDifference(backgroundAt(t)), 0.0) << "t " << t;
    }
}

TEST(ShowFrames, WrapOfTheClockIsSeamless) {
    REQUIRE_SHOW();
    // The jump from the last millisecond of a cycle to the first changes the
    // picture no more than one millisecond of ordinary running does.
    const Frame last = frameAt(26.99975f);
    const Frame first = frameAt(-1.0f);
    const Frame before = frameAt(5.0f);
    const Frame after = frameAt(5.00025f);
    EXPECT_LT(last.meanDifference(first), before.meanDifference(after) + 0.05);
}

TEST(ShowFrames, CycleStartsFromBlackAndIsNeverDarkForLong) {
    REQUIRE_SHOW();
    // The frames' mean luma twice a second over a whole cycle: the wrap
    // is near black, but no stretch, the wrap included, stays under a third
    // of the cycle's median for more than 4 s.
    constexpr std::uint32_t perSecond = 2;
    constexpr int longestDarkSeconds = 4;
    std::vector<double> luma;
    for (std::uint32_t ms = 0; ms < showCycleMilliseconds; ms += 1000 / perSecond) {
        luma.push_back(meanLuma(frameAt(showClockFromTicks(ms))));
    }
    EXPECT_LT(luma.front(), 0.005);
    std::vector<double> sorted = luma;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    EXPECT_LE(longestRunBelow(luma, median / 3.0), longestDarkSeconds * int{perSecond})
        << "median " << median;
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

TEST(ShowFrames, HeartSwellsOnEveryKickOfTheMusic) {
    REQUIRE_SHOW();
    // The music: 96 beats in a loop of 2086 buffers of 1024 samples at 44100 Hz,
    // a kick on every beat, the first on its first sample.
    const double beatMs = 2086.0 * 1024.0 / 96.0 / 44100.0 * 1000.0;
    const double stepMs = 20.0;
    // Times of the heart's widest moments in a window of the opening, found
    // on a 20 ms grid and refined between each peak's neighbours.
    const auto peaksFrom = [&](double startMs, double lengthMs) {
        std::vector<double> widths;
        for (double ms = startMs; ms < startMs + lengthMs; ms += stepMs) {
            widths.push_back(heartWidth(frameAt(showClockFromTicks(std::uint32_t(ms)))));
        }
        // A peak is the first widest sample within a quarter of a beat either
        // side, and well above the narrowest.
        const std::size_t reach = static_cast<std::size_t>(beatMs / 4.0 / stepMs);
        const double lowest = *std::min_element(widths.begin(), widths.end());
        const double highest = *std::max_element(widths.begin(), widths.end());
        std::vector<double> peaks;
        for (std::size_t i = reach; i + reach < widths.size(); ++i) {
            const auto before = widths.begin() + static_cast<std::ptrdiff_t>(i);
            const bool widest =
                *std::max_element(before - static_cast<std::ptrdiff_t>(reach), before) <
                    widths[i] &&
                *std::max_element(before, before + static_cast<std::ptrdiff_t>(reach) + 1) ==
                    widths[i];
            if (widest && widths[i] > lowest + 0.3 * (highest - lowest)) {
                const double a = widths[i - 1], b = widths[i], c = widths[i + 1];
                const double curve = a - 2 * b + c;
                peaks.push_back(startMs + stepMs * (static_cast<double>(i) +
                                                    (curve < 0.0 ? 0.5 * (a - c) / curve : 0.0)));
            }
        }
        return peaks;
    };
    // Only the rows that heartWidth reads are drawn, to keep the test quick.
    glScissor(0, windowHeight - 261, windowWidth, 42);
    glEnable(GL_SCISSOR_TEST);
    const std::vector<double> early = peaksFrom(12000.0, 2.7 * beatMs);
    const std::vector<double> late = peaksFrom(36000.0, 1.7 * beatMs);
    glDisable(GL_SCISSOR_TEST);
    ASSERT_GE(early.size(), 2u);
    ASSERT_GE(late.size(), 1u);
    // One swell per beat, at the music's pace to 0.3% over some 48 beats.
    for (std::size_t i = 1; i < early.size(); ++i) {
        EXPECT_NEAR(early[i] - early[i - 1], beatMs, 12.0);
    }
    const double beats = std::round((late[0] - early[0]) / beatMs);
    EXPECT_NEAR((late[0] - early[0]) / beats, beatMs, 0.003 * beatMs);
    // Each swell follows its kick within 80 ms.
    for (const double peak : {early[0], early[1], late[0]}) {
        const double sinceKick = std::fmod(peak - musicStartMs, beatMs);
        EXPECT_GE(sinceKick, 0.0) << "peak at " << peak << " ms";
        EXPECT_LE(sinceKick, 80.0) << "peak at " << peak << " ms";
    }
}

TEST(ShowFrames, HeartSurfaceHasNoCreaseDownTheMiddle) {
    REQUIRE_SHOW();
    // Across the lower half of the heart, the step between the two middle
    // columns is no larger than the steps between the columns around them.
    for (const float t : {5.0f, 12.3f, 20.0f}) {
        const Frame frame = frameAt(t);
        const auto step = [&](int x, int y) {
            return std::abs(brightness(frame.at(x + 1, y)) - brightness(frame.at(x, y)));
        };
        int worstExcess = -255, worstRow = 0;
        for (int y = 330; y <= 430; ++y) {
            int around = 0;
            for (int x = 388; x < 411; ++x) {
                around = x == 399 ? around : std::max(around, step(x, y));
            }
            if (step(399, y) - around > worstExcess) {
                worstExcess = step(399, y) - around;
                worstRow = y;
            }
        }
        EXPECT_LE(worstExcess, 1) << "t " << t << ", row " << worstRow;
    }
}

TEST(ShowFrames, TextStandsOutFromWhatIsBehindIt) {
    REQUIRE_SHOW();
    // The text shader's warm white, against the background behind every pixel
    // that a glyph covers at least by a quarter: 3:1 at the least, the large
    // text minimum of the web's contrast guidelines.
    const double textLuminance = relativeLuminance(textColour);
    for (const float t : {0.5f, 9.5f, 10.05f, 11.02f, 12.5f, 13.05f, 14.6f, 15.1f, 16.3f, 17.08f,
                          17.9f, 18.6f, 24.5f}) {
        const Frame withText = frameAt(t);
        const Frame background = backgroundAt(t);
        int covered = 0;
        double worst = 1e9;
        for (int y = 0; y < withText.height; ++y) {
            for (int x = 0; x < withText.width; ++x) {
                const Pixel behind = background.at(x, y);
                const double coverage =
                    double(withText.at(x, y).g - behind.g) / (textColour.g - behind.g);
                if (coverage >= 0.25) {
                    ++covered;
                    worst = std::min(worst,
                                     (textLuminance + 0.05) / (relativeLuminance(behind) + 0.05));
                }
            }
        }
        EXPECT_GT(covered, 300) << "t " << t;
        EXPECT_GE(worst, 3.0) << "t " << t;
    }
}

TEST(ShowFrames, GreetingEdgesAreAboutOnePixelWideAtAnySize) {
    REQUIRE_SHOW();
    // A name stretched wide (t = 11.5), magnified several times over the font's
    // own pixels: its edges rise within two pixels, and within three at the
    // size of a 1080p recording.
    const float t = 11.5f;
    const struct {
        int width, height;
        double medianRise;
    } sizes[] = {{windowWidth, windowHeight, 2.0}, {1440, 1080, 3.0}};
    for (const auto& size : sizes) {
        OffscreenFrame target(size.width, size.height);
        ASSERT_TRUE(target.complete()) << size.width << "x" << size.height;
        const std::vector<double> rises =
            edgeRises(Opacity(frameAt(t, &target), backgroundAt(t, &target)));
        ASSERT_GT(rises.size(), 100u) << size.width << "x" << size.height;
        EXPECT_LE(median(rises), size.medianRise) << size.width << "x" << size.height;
    }
}

TEST(ShowFrames, ScrollGlyphsKeepEveryStroke) {
    REQUIRE_SHOW();
    // Each glyph alone at the scrolls' size, in the window and in the smallest
    // recording: its covered area (the sum of its pixels' opacity) is the
    // area its coverage in the atlas spreads over, so no stroke is lost or
    // swollen, and its inside is opaque, so it stands out from what is behind
    // it as much as the text colour does.
    for (const auto& size : {std::pair{windowWidth, windowHeight}, std::pair{320, 240}}) {
        OffscreenFrame target(size.first, size.second);
        ASSERT_TRUE(target.complete());
        for (char character = '!'; character <= '~'; ++character) {
            const Frame frame = glyphAlone(character, target);
            double covered = 0.0, mostOpaque = 0.0;
            for (std::size_t i = 1; i < frame.bytes.size(); i += 3) { // green, over black
                const double opacity = frame.bytes[i] / double(textColour.g);
                covered += opacity;
                mostOpaque = std::max(mostOpaque, opacity);
            }
            const double expected = atlasCoveredArea(*findGlyph(fontRecord, character), target);
            EXPECT_NEAR(covered / expected, 1.0, 0.15) << "'" << character << "'";
            EXPECT_GE(mostOpaque, 0.98) << "'" << character << "'";
        }
    }
}
