#include "audio/MusicPlayback.h"

#include "base/ShowConstants.h"
#include "support/Music.h"
#include "support/TempFile.h"

#define STB_VORBIS_HEADER_ONLY
#include <gtest/gtest.h>
#include <stb_vorbis.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

// A third of a second of stereo, a different tone on each channel (a fuzz seed).
const std::string tone = VELMORA_SOURCE_DIR "/tests/fuzz/seeds/stereo-44100.ogg";
const std::string piece = VELMORA_SOURCE_DIR "/data/dancing.ogg";

using Decoder = std::unique_ptr<stb_vorbis, decltype(&stb_vorbis_close)>;

Decoder openDecoder(const std::string& path) {
    int error = 0;
    return Decoder(stb_vorbis_open_filename(path.c_str(), &error, nullptr), stb_vorbis_close);
}

// One fill of a buffer full of stale bytes, as the audio callback makes it.
std::vector<unsigned char> fill(stb_vorbis* decoder, int len) {
    std::vector<unsigned char> buffer(static_cast<std::size_t>(len), 0xAB);
    fillMusicBuffer(decoder, buffer.data(), len);
    return buffer;
}

// Samples of `buffers` fills of 1024 frames, as the device asks for them.
std::vector<short> play(stb_vorbis* decoder, int buffers) {
    std::vector<short> samples(static_cast<std::size_t>(buffers) * 2048);
    for (int i = 0; i < buffers; ++i) {
        std::memcpy(samples.data() + i * 2048, fill(decoder, 4096).data(), 4096);
    }
    return samples;
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
        {&tone, 4098, 4096}, // not a whole frame more: silence
        {&tone, 3, 0},       // not a whole sample
        {nullptr, 4096, 0},  // no decoder
    };
    for (const auto& c : cases) {
        const Decoder decoder = openDecoder(c.file != nullptr ? *c.file : "");
        const std::vector<unsigned char> bytes = fill(decoder.get(), c.len);
        EXPECT_EQ(std::memcmp(bytes.data(), stream.data(), c.musicBytes), 0) << c.len;
        EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<long>(c.musicBytes), bytes.end(),
                                [](unsigned char b) { return b == 0; }))
            << c.len;
    }
    // The whole stream in 1024-frame buffers, left sample first, then silence.
    const Decoder decoder = openDecoder(tone);
    const std::vector<short> played =
        play(decoder.get(), static_cast<int>(stream.size() / 2048) + 4);
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), played.begin()));
    EXPECT_TRUE(std::all_of(played.begin() + static_cast<long>(stream.size()), played.end(),
                            [](short s) { return s == 0; }));
}

TEST(MusicBuffer, RealPieceWrapsSeamlesslyAtTheLoopPoint) {
    const Decoder decoder = openDecoder(piece);
    ASSERT_NE(decoder, nullptr) << piece;
    const std::vector<short> start = decodeMusic(piece);
    ASSERT_GT(start.size() / 2, static_cast<std::size_t>(musicLoopPoint));

    // Play buffer by buffer until the decoder has been sent back: its
    // position then drops, and the next buffer starts the piece again.
    std::vector<short> played;
    int previous = 0;
    std::size_t jump = 0;
    for (int call = 0; call < 2200 && jump == 0; ++call) {
        const std::vector<short> buffer = play(decoder.get(), 1);
        played.insert(played.end(), buffer.begin(), buffer.end());
        const int position = stb_vorbis_get_sample_offset(decoder.get());
        jump = position < previous ? played.size() : 0;
        previous = position;
    }
    ASSERT_NE(jump, 0u) << "no wrap within 2200 buffers";
    EXPECT_GE(static_cast<double>(jump / 2), musicLoopPoint - 2048);
    EXPECT_LE(static_cast<double>(jump / 2), musicLoopPoint + 1024);
    // Everything before the jump is the piece as decoded from its start.
    EXPECT_TRUE(std::equal(played.begin(), played.end(), start.begin()));
    const std::vector<short> after = play(decoder.get(), 4);
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

TEST(MusicBuffer, StreamWhoseEndIsLostStillGoesBackToItsStart) {
    // The tone followed by 128 KB that hold no page, as if its end had been
    // overwritten: the stream's last page cannot be found, so its length is
    // unknown, and a seek that needs the length would never go back.
    std::ifstream file(tone, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const Decoder decoder =
        openDecoder(writeTempFile("end-lost.ogg", bytes + std::string(128 * 1024, '\0')));
    ASSERT_NE(decoder, nullptr);
    const std::vector<short> stream = decodeMusic(tone);
    constexpr double earlyLoopPoint = 4096.0;
    std::vector<unsigned char> buffer(4096);
    int previous = 0;
    bool sentBack = false;
    for (int call = 0; call < 8 && !sentBack; ++call) {
        fillMusicBuffer(decoder.get(), buffer.data(), static_cast<int>(buffer.size()),
                        earlyLoopPoint);
        const int position = stb_vorbis_get_sample_offset(decoder.get());
        sentBack = position < previous;
        previous = position;
    }
    ASSERT_TRUE(sentBack) << "the decoder did not go back; it stands at " << previous;
    fillMusicBuffer(decoder.get(), buffer.data(), static_cast<int>(buffer.size()), earlyLoopPoint);
    EXPECT_EQ(std::memcmp(buffer.data(), stream.data(), buffer.size()), 0);
}
