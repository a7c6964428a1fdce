// The shipped piece, read back through the decoder the show plays it with:
// its loudness has the shape of a track (a breakdown well below the drop),
// it meets the mastering targets, it loops exactly where the player jumps,
// without a click, and its kick keeps the beat the picture's heart follows.
#include "Arrangement.h"
#include "LoopAnalysis.h"
#include "Loudness.h"
#include "SectionLoudness.h"
#include "Timeline.h"
#include "VorbisReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

const std::string shippedMusic = VELMORA_SHIPPED_MUSIC;

double sectionLufs(const std::vector<SectionLoudness>& sections, const std::string& name) {
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [&](const SectionLoudness& s) { return s.name == name; });
    return found != sections.end() ? found->lufs : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

TEST(ShippedPiece, HasTheShapeAndTheMasteringTargets) {
    const StereoBuffer file = fromInterleaved(decodeWhole(shippedMusic));
    ASSERT_GT(file.frames(), static_cast<std::size_t>(loopCycleFrames)) << shippedMusic;
    const Arrangement song = composeArrangement();
    const std::vector<SectionLoudness> sections =
        sectionLoudness(file, Timeline{loopCycleFrames, song.bars}, song.sections);

    EXPECT_NEAR(integratedLoudness(file), -14.0, 1.0);
    EXPECT_GE(loudnessRange(file), 4.0);
    EXPECT_LE(sectionLufs(sections, "breakdown"), sectionLufs(sections, "drop") - 4.0);
    EXPECT_LE(toDecibels(truePeak(file)), -1.0);
    EXPECT_LT(std::filesystem::file_size(shippedMusic), 1u << 20) << "bytes";
}

TEST(ShippedPiece, LoopsSeamlesslyWherePlayerJumps) {
    const LoopAnalysis loop = analyseLoop(shippedMusic, PlayerModel{});
    EXPECT_EQ(loop.jumpFrame, loopCycleFrames);
    EXPECT_EQ(loop.secondCycleFrames, loopCycleFrames);
    EXPECT_EQ(loop.resumeMismatches, 0);
    // A click would be a step as large as the music's sharpest attacks.
    EXPECT_LT(loop.stepAtJump, loop.largestStepElsewhere / 4);
}

TEST(Score, KeepsAKickOnEveryBeat) {
    const Arrangement song = composeArrangement();
    const int beats = song.bars * stepsPerBar / 4;
    ASSERT_EQ(beats, 96) << "the beats the picture's heart counts in a loop";
    std::vector<double> kickOnBeat(static_cast<std::size_t>(beats), 0.0);
    for (const Hit& kick : song.kicks) {
        ASSERT_EQ(kick.step, 4.0 * std::round(kick.step / 4.0)) << "a kick off the beat";
        ASSERT_LT(kick.step, 4.0 * beats);
        kickOnBeat[static_cast<std::size_t>(kick.step / 4.0)] = kick.velocity;
    }
    for (int beat = 0; beat < beats; ++beat) {
        EXPECT_GE(kickOnBeat[static_cast<std::size_t>(beat)], 0.3) << "beat " << beat;
    }
    const Timeline timeline{loopCycleFrames, song.bars};
    EXPECT_EQ(timeline.stepToFrame(0.0), 0);
}
