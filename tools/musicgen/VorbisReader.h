// Reading an Ogg Vorbis file back through stb_vorbis, the decoder the show
// plays it with, as interleaved 16-bit stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct stb_vorbis;

// One open stream.
class VorbisReader {
public:
    explicit VorbisReader(const std::string& path);
    ~VorbisReader();
    VorbisReader(const VorbisReader&) = delete;
    VorbisReader& operator=(const VorbisReader&) = delete;

    bool opened() const { return handle != nullptr; }

    // Appends up to `frames` frames to `samples`; returns how many, 0 at the end.
    int read(std::vector<std::int16_t>& samples, int frames);
    // Frames from the stream's start to the decoder's position, which runs
    // ahead of what has been read by whatever it still holds.
    long long position() const;
    void rewind();

private:
    stb_vorbis* handle = nullptr;
};

// The whole stream, decoded straight through; empty if it cannot be decoded.
std::vector<std::int16_t> decodeWhole(const std::string& path);
