#include "VorbisReader.h"

#include "base/ShowConstants.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>

VorbisReader::VorbisReader(const std::string& path) {
    int error = 0;
    handle = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
}

VorbisReader::~VorbisReader() {
    if (handle != nullptr) {
        stb_vorbis_close(handle);
    }
}

int VorbisReader::read(std::vector<std::int16_t>& samples, int frames) {
    const std::size_t before = samples.size();
    samples.resize(before + audioChannels * static_cast<std::size_t>(frames));
    const int got = stb_vorbis_get_samples_short_interleaved(
        handle, audioChannels, &samples[before], audioChannels * frames);
    samples.resize(before + audioChannels * static_cast<std::size_t>(std::max(got, 0)));
    return got;
}

long long VorbisReader::position() const {
    return stb_vorbis_get_sample_offset(handle);
}

void VorbisReader::rewind() {
    stb_vorbis_seek(handle, 0);
}

std::vector<std::int16_t> decodeWhole(const std::string& path) {
    VorbisReader reader(path);
    std::vector<std::int16_t> samples;
    while (reader.opened() && reader.read(samples, 4096) > 0) {
    }
    return samples;
}
