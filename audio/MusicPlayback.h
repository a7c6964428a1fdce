#pragma once
// Music playback: the decoder is opened on the main thread at the end of
// start-up, then SDL's audio thread pulls the music through audioCallback.
//
// Threads and ownership:
// - IntroApp::decoder is written once, by the main thread, before the audio
//   device is opened, and never again. SDL starts calling audioCallback on
//   its audio thread only after SDL_PauseAudio(0), so the callback always
//   sees the final handle. From then on only the callback touches the
//   decoder; the main thread reads nothing the callback writes, so no lock is
//   needed.
// - The callback runs until SDL_Quit, which the IntroApp destructor calls
//   before anything else of the object goes away.
#include <SDL.h>

class IntroApp;

// SDL audio callback; `userdata` is the IntroApp. Fills `stream` (`len`
// bytes of interleaved signed 16-bit stereo at 44100 Hz).
void audioCallback(void* userdata, Uint8* stream, int len);

// Opens the audio device for `app` (44100 Hz, S16LSB, stereo, 1024-frame
// buffers, audioCallback) and starts it. Returns 0 when playing; -1 when the
// device cannot be opened, after printing "Couldn't open audio: <SDL error>"
// on standard error.
int startAudio(IntroApp& app);
