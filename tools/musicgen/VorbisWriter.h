// Ogg Vorbis encoding through libvorbisenc, with everything that would vary
// between runs pinned down: the stream serial number, the quality setting,
// the comments and the size of the chunks handed to the encoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct VorbisSettings {
    float quality = 0.35f;         // VBR quality, -0.1 .. 1.0
    int serialNumber = 0x566C6D72; // any fixed value; "Vlmr"
    std::string title = "Dancing";
};

// Encodes interleaved 16-bit stereo at the show's sample rate. Returns an
// empty vector if the encoder refuses the settings.
std::vector<unsigned char> encodeVorbis(const std::vector<std::int16_t>& interleaved,
                                        const VorbisSettings& settings);

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
