#include "audio/MusicPlayback.h"

#include "base/ShowConstants.h"
#include "support/MusicDecoding.h"

#define STB_VORBIS_HEADER_ONLY
#include <gtest/gtest.h>
#include <stb_vorbis.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const std::string tone = VELMORA_SOURCE_DIR "/tests/data/tone-stereo-44100.ogg";
const std::string piece = VELMORA_SOURCE_DIR "/data/dancing.ogg";

// A decoder fed through fillMusicBuffer as the audio callback feeds it.
class Player {
public:
    explicit Player(const std::string& path) {
        int error = 0;
        decoder = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
    }
    ~Player() {
        if (decoder != nullptr) {
            stb_vorbis_close(decoder);
        }
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // One fill of a buffer full of stale bytes.
    std::vector<unsigned char> fill(int len) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(len), 0xAB);
        fillMusicBuffer(decoder, buffer.data(), len);
        return buffer;
    }

    // Samples of `buffers` fills of 1024 frames, as the device asks for them.
    std::vector<short> play(int buffers) {
        std::vector<short> samples(static_cast<std::size_t>(buffers) * 2048);
        for (int i = 0; i < buffers; ++i) {
            std::memcpy(samples.data() + i * 2048, fill(4096).data(), 4096);
        }
        return samples;
    }

    stb_vorbis* decoder = nullptr;
};

bool silentFrom(const std::vector<short>& samples, std::size_t from) {
    return std::all_of(samples.begin() + static_cast<long>(from), samples.end(),
                       [](short s) { return s == 0; });
}

} // namespace

TEST(MusicLoop, PositionMustLieStrictlyPastTheLoopPoint) {
    const struct {
        int position;
        bool loops;
    } cases[] = {{2136644, false}, {2136645, false}, {2136646, true},
                 {INT_MAX, true},  {-1, false},      /* unknown */ {0, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(passedLoopPoint(c.position), c.loops) << c.position;
    }
}

TEST(MusicBuffer, HoldsWholeFramesOfTheStreamAndSilenceForTheRest) {
    const std::vector<short> stream = decodeMusic(tone);
    ASSERT_GE(stream.size(), 4096u);
    EXPECT_NE(stream[200], stream[201]); // a different tone on each channel
    const struct {
        const std::string* file;
        int len;
        std::size_t musicBytes;
    } cases[] = {
        {&tone, 4096, 4096}, // 1024 frames, left sample first
        {&tone, 4098, 4096}, // not a whole frame more: silence
        {&tone, 3, 0},       // not a whole sample
        {nullptr, 4096, 0},  // no decoder
    };
    for (const auto& c : cases) {
        Player player(c.file != nullptr ? *c.file : "");
        const std::vector<unsigned char> bytes = player.fill(c.len);
        EXPECT_EQ(std::memcmp(bytes.data(), stream.data(), c.musicBytes), 0) << c.len;
        EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<long>(c.musicBytes), bytes.end(),
                                [](unsigned char b) { return b == 0; }))
            << c.len;
    }
}

TEST(MusicBuffer, ShortStreamPlaysOnceThenSilence) {
    const std::vector<short> stream = decodeMusic(tone);
    Player player(tone);
    const std::vector<short> played = player.play(static_cast<int>(stream.size() / 2048) + 4);
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), played.begin()));
    EXPECT_TRUE(silentFrom(played, stream.size()));
}

TEST(MusicBuffer, RealPieceWrapsSeamlesslyAtTheLoopPoint) {
    Player player(piece);
    ASSERT_NE(player.decoder, nullptr) << piece;
    const std::vector<short> start = decodeMusic(piece);
    ASSERT_GT(start.size() / 2, static_cast<std::size_t>(musicLoopPoint));

    // Play buffer by buffer until the decoder has been sent back: its
    // position then drops, and the next buffer starts the piece again.
    std::vector<short> played;
    int previous = 0;
    std::size_t jump = 0;
    for (int call = 0; call < 2200 && jump == 0; ++call) {
        const std::vector<short> buffer = player.play(1);
        played.insert(played.end(), buffer.begin(), buffer.end());
        const int position = stb_vorbis_get_sample_offset(player.decoder);
        if (position < previous) {
            jump = played.size();
        }
        previous = position;
    }
    ASSERT_NE(jump, 0u) << "no wrap within 2200 buffers";
    const std::size_t jumpFrame = jump / 2;
    EXPECT_GE(static_cast<double>(jumpFrame), musicLoopPoint - 2048);
    EXPECT_LE(static_cast<double>(jumpFrame), musicLoopPoint + 1024);
    // Everything before the jump is the piece as decoded from its start.
    EXPECT_TRUE(std::equal(played.begin(), played.end(), start.begin()));
    const std::vector<short> after = player.play(4);
    EXPECT_TRUE(std::equal(after.begin(), after.end(), start.begin()));

    // No click: the step across the jump is no larger than steps the music
    // itself takes.
    int largestStep = 0;
    for (std::size_t i = 2; i < played.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(played[i] - played[i - 2]));
    }
    int jumpStep = 0;
    for (std::size_t channel = 0; channel < 2; ++channel) {
        jumpStep = std::max(jumpStep, std::abs(after[channel] - played[jump - 2 + channel]));
    }
    EXPECT_LE(jumpStep, largestStep / 2) << "largest step " << largestStep;
}
