#include "audio/MusicPlayback.h"

#include "app/IntroApp.h"

#include <cstdio>
#include <cstring>

void audioCallback(void* /*userdata*/, Uint8* stream, int len) {
    if (len > 0) {
        std::memset(stream, 0, static_cast<std::size_t>(len));
    }
}

int startAudio(IntroApp& app) {
    SDL_AudioSpec spec;
    std::memset(&spec, 0, sizeof spec);
    spec.freq = 44100;
    spec.format = AUDIO_S16LSB;
    spec.channels = 2;
    spec.samples = 1024;
    spec.callback = audioCallback;
    spec.userdata = &app;
    if (SDL_OpenAudio(&spec, nullptr) < 0) {
        std::fprintf(stderr, "Couldn't open audio: %s\n", SDL_GetError());
        return -1;
    }
    SDL_PauseAudio(0);
    return 0;
}
