#include "support/MusicDecoding.h"

#include "base/ShowConstants.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>
#include <cstdint>

std::vector<short> decodeMusic(const std::string& path, long maxFrames) {
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
    std::vector<short> samples;
    if (decoder == nullptr) {
        return samples;
    }
    const std::size_t wanted =
        maxFrames < 0 ? SIZE_MAX : static_cast<std::size_t>(maxFrames) * audioChannels;
    short block[audioBufferFrames * audioChannels];
    while (samples.size() < wanted) {
        const int frames = stb_vorbis_get_samples_short_interleaved(
            decoder, audioChannels, block, audioBufferFrames * audioChannels);
        if (frames <= 0) {
            break;
        }
        samples.insert(samples.end(), block, block + frames * audioChannels);
    }
    stb_vorbis_close(decoder);
    samples.resize(std::min(samples.size(), wanted));
    return samples;
}
