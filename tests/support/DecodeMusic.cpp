// Writes the first FRAMES stereo frames of an Ogg Vorbis file to standard
// output as raw signed 16-bit little-endian samples, decoded the way the
// show's audio callback decodes them.
//
//   velmora_decode_music FILE FRAMES
#include "support/MusicDecoding.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE FRAMES\n", argv[0]);
        return 2;
    }
    const long frames = std::strtol(argv[2], nullptr, 10);
    const std::vector<short> samples = decodeMusic(argv[1], frames);
    std::fwrite(samples.data(), sizeof(short), samples.size(), stdout);
    return static_cast<long>(samples.size()) == frames * 2 ? 0 : 1;
}
