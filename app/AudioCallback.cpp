#include "app/AudioCallback.h"

#include "app/IntroApp.h"
#include "audio/MusicPlayback.h"

void audioCallback(void* userdata, Uint8* stream, int len) {
    fillMusicBuffer(static_cast<IntroApp*>(userdata)->decoder, stream, len);
}
