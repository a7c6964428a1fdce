#include "support/Music.h"

#include "audio/MusicPlayback.h"
#include "base/ShowConstants.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// Small buffers keep an execution short; every eighth has an odd length,
// whose last two bytes hold no whole frame.
constexpr int buffersPlayed = 256;
constexpr int bufferBytes = 256;
constexpr int oddBufferBytes = bufferBytes + 2;
// About a tenth of a second at 44100 Hz.
constexpr double shortLoopPoint = 4096.0;

} // namespace

std::vector<short> decodeMusic(const std::string& path, long maxFrames) {
    int channels = 0;
    short* decoded = nullptr;
    const long frames = stb_vorbis_decode_filename(path.c_str(), &channels, nullptr, &decoded);
    std::vector<short> samples;
    if (frames > 0 && channels == audioChannels) {
        const long kept = maxFrames < 0 ? frames : std::min(frames, maxFrames);
        samples.assign(decoded, decoded + kept * audioChannels);
    }
    std::free(decoded);
    return samples;
}

bool playMusicFile(const std::string& path) {
    stb_vorbis* decoder = openMusic(path);
    if (decoder == nullptr) {
        return false;
    }
    alignas(short) std::array<Uint8, oddBufferBytes> buffer{};
    for (int i = 0; i < buffersPlayed; ++i) {
        const int len = i % 8 == 7 ? oddBufferBytes : bufferBytes;
        fillMusicBuffer(decoder, buffer.data(), len, shortLoopPoint);
    }
    stb_vorbis_close(decoder);
    return true;
}
