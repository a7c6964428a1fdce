// Compares a recorded sound track with what the show's audio callback makes
// for the same span: silence until the music starts, then the callback's
// 4096-byte buffers from a fresh decoder. Prints the normalised correlation
// at the expected alignment and the lag (in frames, within +-4096) where the
// correlation peaks, e.g. "correlation 0.9991 best-lag 0".
//
//   velmora_sound_match MUSIC.ogg RECORDED.raw
//
// RECORDED.raw is signed 16-bit little-endian stereo at 44100 Hz.
#include "app/AudioCallback.h"
#include "app/IntroApp.h"
#include "audio/MusicPlayback.h"
#include "base/ShowConstants.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr int channels = 2;
constexpr int bufferBytes = 4096;
constexpr long searchedLag = 4096;

std::vector<short> readSamples(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<short> samples(bytes.size() / sizeof(short));
    std::copy(bytes.begin(), bytes.begin() + static_cast<long>(samples.size() * sizeof(short)),
              reinterpret_cast<char*>(samples.data()));
    return samples;
}

// Correlation of a[n] with b[n - lag] over the frames both have.
double correlation(const std::vector<short>& a, const std::vector<short>& b, long lag) {
    double ab = 0, aa = 0, bb = 0;
    const long frames = static_cast<long>(std::min(a.size(), b.size()) / channels);
    for (long n = std::max(0L, lag); n < frames && n - lag < frames; ++n) {
        for (int c = 0; c < channels; ++c) {
            const double x = a[static_cast<std::size_t>(n * channels + c)];
            const double y = b[static_cast<std::size_t>((n - lag) * channels + c)];
            ab += x * y;
            aa += x * x;
            bb += y * y;
        }
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MUSIC.ogg RECORDED.raw\n", argv[0]);
        return 2;
    }
    const std::vector<short> recorded = readSamples(argv[2]);
    std::vector<short> expected(recorded.size(), 0);
    IntroApp app;
    app.decoder = openMusic(argv[1]);
    if (app.decoder == nullptr || recorded.empty()) {
        return 1;
    }
    std::size_t at = static_cast<std::size_t>(musicStartMs) * sampleRate / 1000 * channels;
    std::vector<short> buffer(bufferBytes / sizeof(short));
    while (at < expected.size()) {
        audioCallback(&app, reinterpret_cast<Uint8*>(buffer.data()), bufferBytes);
        for (std::size_t i = 0; i < buffer.size() && at < expected.size(); ++i) {
            expected[at++] = buffer[i];
        }
    }

    long bestLag = 0;
    double best = -2.0;
    for (long lag = -searchedLag; lag <= searchedLag; lag += 1) {
        const double value = correlation(recorded, expected, lag);
        if (value > best) {
            best = value;
            bestLag = lag;
        }
    }
    std::printf("correlation %.4f best-lag %ld\n", correlation(recorded, expected, 0), bestLag);
    return 0;
}
