#include "audio/MusicPlayback.h"

#include "base/ShowConstants.h"
#include "base/Utf8Files.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cstdio>
#include <cstring>

bool passedLoopPoint(int position, double loopPoint) {
    return static_cast<double>(position) > loopPoint;
}

stb_vorbis* openMusic(const std::string& path) {
    int error = VORBIS_file_open_failure;
    stb_vorbis* decoder = nullptr;
    // Only a regular file: opening a FIFO would wait for a writer for ever.
    std::FILE* file = isRegularUtf8File(path) ? openUtf8File(path, "rb") : nullptr;
    if (file != nullptr) {
        // The decoder closes the file when it is closed, or at once when the
        // file is not Vorbis.
        decoder = stb_vorbis_open_file(file, 1, &error, nullptr);
    }
    if (decoder == nullptr) {
        std::fprintf(stderr,
                     "Couldn't open music %s (stb_vorbis error %d); the show plays in silence\n",
                     path.c_str(), error);
    }
    return decoder;
}

void fillMusicBuffer(stb_vorbis* decoder, std::uint8_t* stream, int len, double loopPoint) {
    if (len <= 0) {
        return;
    }
    std::size_t bytesWritten = 0;
    if (decoder != nullptr) {
        // SDL hands out aligned buffers of whole 16-bit samples.
        const int frames = stb_vorbis_get_samples_short_interleaved(
            decoder, audioChannels, reinterpret_cast<short*>(stream), len / 2);
        bytesWritten = static_cast<std::size_t>(frames) * audioChannels * sizeof(short);
        if (passedLoopPoint(stb_vorbis_get_sample_offset(decoder), loopPoint)) {
            stb_vorbis_seek(decoder, 0);
        }
    }
    // SDL does not clear the buffer: anything not decoded would replay stale
    // samples as noise.
    const std::size_t length = static_cast<std::size_t>(len);
    if (bytesWritten < length) {
        std::memset(stream + bytesWritten, 0, length - bytesWritten);
    }
}

int startAudio(SDL_AudioCallback callback, void* userdata) {
    SDL_AudioSpec wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.freq = audioSampleRate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = audioChannels;
    wanted.samples = audioBufferFrames;
    wanted.callback = callback;
    wanted.userdata = userdata;
    if (SDL_OpenAudio(&wanted, nullptr) < 0) {
        std::fprintf(stderr, "Couldn't open audio: %s\n", SDL_GetError());
        return -1;
    }
    SDL_PauseAudio(0);
    return 0;
}
