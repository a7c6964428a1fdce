// Compares a recorded sound track with the music a listener of the live show
// hears over the same span: silence until the music starts, then the music
// from its start, decoded. Prints the normalised correlation at the expected
// alignment and the lag (in frames, within +-4096) where the correlation
// peaks, e.g. "correlation 0.9991 best-lag 0".
//
//   velmora_sound_match MUSIC.ogg RECORDED.raw
//
// RECORDED.raw is signed 16-bit little-endian stereo at 44100 Hz.
#include "base/ShowConstants.h"
#include "support/Music.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr long searchedLag = 4096;

// Correlation of a[n] with b[n - lag] over the frames both have.
double correlation(const std::vector<short>& a, const std::vector<short>& b, long lag) {
    double ab = 0, aa = 0, bb = 0;
    const long frames = static_cast<long>(std::min(a.size(), b.size()) / audioChannels);
    for (long n = std::max(0L, lag); n < frames && n - lag < frames; ++n) {
        for (int c = 0; c < audioChannels; ++c) {
            const double x = a[static_cast<std::size_t>(n * audioChannels + c)];
            const double y = b[static_cast<std::size_t>((n - lag) * audioChannels + c)];
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
    std::ifstream file(argv[2], std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<short> recorded(bytes.size() / sizeof(short));
    std::memcpy(recorded.data(), bytes.data(), recorded.size() * sizeof(short));
    const std::size_t silence = static_cast<std::size_t>(musicStartMs) * audioSampleRate / 1000;
    std::vector<short> expected(std::min(silence * audioChannels, recorded.size()), 0);
    const long musicFrames = static_cast<long>((recorded.size() - expected.size()) / audioChannels);
    const std::vector<short> music = decodeMusic(argv[1], musicFrames);
    if (recorded.empty() || music.empty()) {
        return 1;
    }
    expected.insert(expected.end(), music.begin(), music.end());

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
