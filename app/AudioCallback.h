#pragma once
// The audio path's entry point on SDL's audio thread, and its thread
// contract.
//
// Threads and ownership:
// - IntroApp::decoder is written once, by the main thread, before the audio
//   device is opened, and never again. SDL starts calling audioCallback on
//   its audio thread only after SDL_PauseAudio(0), so the callback always
//   sees the final handle. From then on only the callback touches the
//   decoder (decoding, seeking and the file reads they make); the main thread
//   reads nothing the callback writes. That is why no lock is taken.
// - The callback runs until SDL_Quit, which the IntroApp destructor calls
//   before the decoder is closed and the object goes away.
#include <SDL.h>

// SDL audio callback; `userdata` is the IntroApp. Fills `stream` (`len`
// bytes) from the application's decoder with fillMusicBuffer
// (audio/MusicPlayback.h).
void audioCallback(void* userdata, Uint8* stream, int len);
