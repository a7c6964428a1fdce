#include "audio/MusicPlayback.h"

#include "base/ShowConstants.h"

#define STB_VORBIS_HEADER_ONLY
#include <gtest/gtest.h>
#include <stb_vorbis.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string fixture(const char* name) {
    return std::string(VELMORA_SOURCE_DIR "/tests/data/") + name;
}

// Samples of a whole stream as a fresh decoder hands them out, as stereo.
std::vector<short> decodeAll(const std::string& path) {
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
    std::vector<short> samples;
    if (decoder == nullptr) {
        return samples;
    }
    short block[2048];
    int frames = 0;
    while ((frames = stb_vorbis_get_samples_short_interleaved(decoder, 2, block, 2048)) > 0) {
        samples.insert(samples.end(), block, block + frames * 2);
    }
    stb_vorbis_close(decoder);
    return samples;
}

// A decoder fed through fillMusicBuffer as the audio callback feeds it.
class CallbackHarness {
public:
    explicit CallbackHarness(const std::string& path) {
        int error = 0;
        decoder = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
    }
    ~CallbackHarness() {
        if (decoder != nullptr) {
            stb_vorbis_close(decoder);
            decoder = nullptr;
        }
    }
    CallbackHarness(const CallbackHarness&) = delete;
    CallbackHarness& operator=(const CallbackHarness&) = delete;

    // One callback into a buffer full of stale bytes.
    std::vector<unsigned char> fill(int len) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(len), 0xAB);
        fillMusicBuffer(decoder, buffer.data(), len);
        return buffer;
    }

    // Samples of `callbacks` buffers of 1024 frames, as SDL would ask for them.
    std::vector<short> play(int callbacks) {
        std::vector<short> samples;
        for (int i = 0; i < callbacks; ++i) {
            const std::vector<unsigned char> bytes = fill(4096);
            const std::size_t at = samples.size();
            samples.resize(at + 2048);
            std::memcpy(samples.data() + at, bytes.data(), bytes.size());
        }
        return samples;
    }

    stb_vorbis* decoder = nullptr;
};

std::vector<short> asSamples(const std::vector<unsigned char>& bytes, std::size_t count) {
    std::vector<short> samples(count);
    std::memcpy(samples.data(), bytes.data(), count * sizeof(short));
    return samples;
}

bool allZero(const std::vector<short>& samples, std::size_t from, std::size_t to) {
    return std::all_of(samples.begin() + static_cast<long>(from),
                       samples.begin() + static_cast<long>(to), [](short s) { return s == 0; });
}

} // namespace

TEST(MusicLoop, PositionMustLieStrictlyPastTheLoopPoint) {
    EXPECT_FALSE(passedLoopPoint(2136644));
    EXPECT_FALSE(passedLoopPoint(2136645));
    EXPECT_TRUE(passedLoopPoint(2136646));
    EXPECT_TRUE(passedLoopPoint(INT_MAX));
    EXPECT_FALSE(passedLoopPoint(-1)); // position unknown
    EXPECT_FALSE(passedLoopPoint(0));
}

TEST(MusicCallback, FullBufferGetsTheStreamsFirstFrames) {
    CallbackHarness harness(fixture("tone-stereo-44100.ogg"));
    ASSERT_NE(harness.decoder, nullptr);
    const std::vector<short> expected = decodeAll(fixture("tone-stereo-44100.ogg"));
    ASSERT_GE(expected.size(), 4096u);
    // 4096 bytes: 2048 values, 1024 frames, left sample first.
    const std::vector<short> first = asSamples(harness.fill(4096), 2048);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), expected.begin()));
    EXPECT_NE(first[0 + 2 * 100], first[1 + 2 * 100]); // two different tones
}

TEST(MusicCallback, OddLengthWritesWholeFramesAndLeavesNoStaleBytes) {
    CallbackHarness harness(fixture("tone-stereo-44100.ogg"));
    const std::vector<short> expected = decodeAll(fixture("tone-stereo-44100.ogg"));
    const std::vector<unsigned char> bytes = harness.fill(4098);
    EXPECT_TRUE(
        std::equal(expected.begin(), expected.begin() + 2048, asSamples(bytes, 2048).begin()));
    EXPECT_EQ(bytes[4096], 0);
    EXPECT_EQ(bytes[4097], 0);
    // An odd byte count cannot hold a whole sample; it is silence as well.
    EXPECT_EQ(harness.fill(3).at(2), 0);
}

TEST(MusicCallback, ShortStreamPlaysOnceThenSilence) {
    const std::vector<short> expected = decodeAll(fixture("tone-stereo-44100.ogg"));
    CallbackHarness harness(fixture("tone-stereo-44100.ogg"));
    const int callbacks = static_cast<int>(expected.size() / 2048) + 4;
    const std::vector<short> played = harness.play(callbacks);
    ASSERT_GT(played.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), played.begin()));
    EXPECT_TRUE(allZero(played, expected.size(), played.size()));
}

TEST(MusicCallback, MonoStreamComesOutOnBothChannels) {
    CallbackHarness harness(fixture("tone-mono-44100.ogg"));
    const std::vector<short> played = harness.play(4);
    bool audible = false;
    for (std::size_t frame = 0; frame < played.size() / 2; ++frame) {
        ASSERT_EQ(played[2 * frame], played[2 * frame + 1]) << "frame " << frame;
        audible = audible || played[2 * frame] != 0;
    }
    EXPECT_TRUE(audible);
}

TEST(MusicCallback, OtherSampleRatePlaysItsSamplesAtTheDeviceRate) {
    // Half a second at 22050 Hz: 11025 frames, which last a quarter of a
    // second at 44100 Hz, higher and faster.
    const std::vector<short> expected = decodeAll(fixture("tone-stereo-22050.ogg"));
    EXPECT_NEAR(static_cast<double>(expected.size() / 2), 11025.0, 1100.0);
    CallbackHarness harness(fixture("tone-stereo-22050.ogg"));
    const std::vector<short> played = harness.play(16);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), played.begin()));
    EXPECT_TRUE(allZero(played, expected.size(), played.size()));
}

TEST(MusicCallback, NoDecoderGivesSilence) {
    std::vector<unsigned char> buffer(4096, 0xAB);
    fillMusicBuffer(nullptr, buffer.data(), 4096);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b == 0; }));
    fillMusicBuffer(nullptr, buffer.data(), 0);
}

TEST(MusicFile, MissingOrBrokenFileGivesOneLineNamingItAndNoDecoder) {
    for (const std::string& path : {fixture("no-such-file.ogg"), fixture("not-vorbis.ogg")}) {
        testing::internal::CaptureStderr();
        stb_vorbis* decoder = openMusic(path);
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(decoder, nullptr);
        EXPECT_EQ(printed.rfind("Couldn't open music " + path, 0), 0u) << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
    }
}

TEST(MusicFile, RealPieceWrapsSeamlesslyAtTheLoopPoint) {
    const std::string path = VELMORA_SOURCE_DIR "/data/dancing.ogg";
    CallbackHarness harness(path);
    ASSERT_NE(harness.decoder, nullptr) << path;
    const std::vector<short> start = decodeAll(path);
    ASSERT_GT(start.size() / 2, static_cast<std::size_t>(musicLoopPoint));

    // Play buffer by buffer until the decoder has been sent back: its
    // position then drops, and the next buffer starts the piece again.
    std::vector<short> played;
    int previous = 0;
    std::size_t jump = 0;
    for (int call = 0; call < 2200 && jump == 0; ++call) {
        const std::vector<short> buffer = harness.play(1);
        played.insert(played.end(), buffer.begin(), buffer.end());
        const int position = stb_vorbis_get_sample_offset(harness.decoder);
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
    const std::vector<short> after = harness.play(4);
    EXPECT_TRUE(std::equal(after.begin(), after.end(), start.begin()));

    // No click: the step across the jump is no larger than steps the music
    // itself takes.
    int largestStep = 0;
    for (std::size_t i = 2; i < played.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(played[i] - played[i - 2]));
    }
    int jumpStep = 0;
    for (int channel = 0; channel < 2; ++channel) {
        jumpStep =
            std::max(jumpStep, std::abs(after[static_cast<std::size_t>(channel)] -
                                        played[jump - 2 + static_cast<std::size_t>(channel)]));
    }
    EXPECT_LE(jumpStep, largestStep / 2) << "largest step " << largestStep;
}

namespace {

std::vector<char> readBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<char> bytes;
    if (file == nullptr) {
        return bytes;
    }
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    std::fclose(file);
    return bytes;
}

std::string writeTemp(const std::vector<char>& bytes, const std::string& name) {
    const std::string path = testing::TempDir() + "velmora-" + name + ".ogg";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

} // namespace

TEST(MusicFile, DamagedPiecePlaysWhatItCanWithoutCrashing) {
    const std::vector<char> piece = readBytes(VELMORA_SOURCE_DIR "/data/dancing.ogg");
    ASSERT_GT(piece.size(), 400000u);

    // Cut short: plays to the cut, then silence; never reaches the loop point.
    const std::string truncated =
        writeTemp(std::vector<char>(piece.begin(), piece.begin() + 300000), "truncated");
    {
        CallbackHarness harness(truncated);
        ASSERT_NE(harness.decoder, nullptr);
        const std::vector<short> played = harness.play(2200);
        EXPECT_TRUE(allZero(played, played.size() - 2048 * 100, played.size()));
        EXPECT_FALSE(allZero(played, 0, 2048 * 100));
    }

    // Scribbled over in places: decoding goes on around the damage, and the
    // buffers stay whole, whatever the decoder makes of it.
    std::vector<char> scribbled = piece;
    std::uint32_t state = 12345;
    for (std::size_t at = 5000; at < scribbled.size(); at += 37000) {
        for (std::size_t i = at; i < at + 200 && i < scribbled.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            scribbled[i] = static_cast<char>(state >> 24);
        }
    }
    CallbackHarness harness(writeTemp(scribbled, "scribbled"));
    if (harness.decoder != nullptr) {
        const std::vector<short> played = harness.play(2200);
        EXPECT_EQ(played.size(), 2200u * 2048u);
    }
}
