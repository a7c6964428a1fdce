// Writes the first FRAMES stereo frames of an Ogg Vorbis file to OUTPUT as
// raw signed 16-bit little-endian samples, as the show's decoder gives them:
// the reference for the stream the audio device receives. A file rather than
// standard output, which Windows would write in text mode.
//
//   velmora_decode_music FILE FRAMES OUTPUT
#include "support/Music.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE FRAMES OUTPUT\n", argv[0]);
        return 2;
    }
    const long frames = std::strtol(argv[2], nullptr, 10);
    const std::vector<short> samples = decodeMusic(argv[1], frames);
    std::FILE* output = std::fopen(argv[3], "wb");
    if (output == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    std::fwrite(samples.data(), sizeof(short), samples.size(), output);
    const bool written = std::fclose(output) == 0;
    return written && static_cast<long>(samples.size()) == frames * 2 ? 0 : 1;
}
