// Writes the first FRAMES stereo frames of an Ogg Vorbis file to standard
// output as raw signed 16-bit little-endian samples, decoded the way the
// show's audio callback decodes them (1024 frames at a time, two channels).
//
//   velmora_decode_music FILE FRAMES
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE FRAMES\n", argv[0]);
        return 2;
    }
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_filename(argv[1], &error, nullptr);
    if (decoder == nullptr) {
        std::fprintf(stderr, "cannot decode %s (error %d)\n", argv[1], error);
        return 1;
    }
    long remaining = std::strtol(argv[2], nullptr, 10);
    short block[2048];
    while (remaining > 0) {
        const int frames = stb_vorbis_get_samples_short_interleaved(decoder, 2, block, 2048);
        if (frames <= 0) {
            break;
        }
        const long used = frames < remaining ? frames : remaining;
        std::fwrite(block, sizeof(short) * 2, static_cast<std::size_t>(used), stdout);
        remaining -= used;
    }
    stb_vorbis_close(decoder);
    return remaining == 0 ? 0 : 1;
}
