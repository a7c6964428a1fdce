#pragma once
// Music playback: the decoder is opened on the main thread at the end of
// start-up, then SDL's audio thread pulls the music through audioCallback,
// a buffer at a time, and loops it.
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
//
// Bad input: a music file that is missing or not Ogg Vorbis gives a null
// decoder and one line on standard error; the show then runs in silence. A
// stream that ends early, or a null decoder, leaves the rest of each buffer
// silent, never stale.
#include <SDL.h>

#include <string>

struct stb_vorbis;
class IntroApp;

// Position, in samples per channel, past which the music goes back to its
// start: 48.45 s at 44100 Hz.
constexpr double musicLoopPoint = 2136645.0;

// True when a decoder position lies past the loop point. The test is strict,
// and an unknown position (-1) never loops.
bool passedLoopPoint(int position);

// Opens the music file for decoding on demand. Returns the decoder, or null
// after printing "Couldn't open music <path>: ..." on standard error.
stb_vorbis* openMusic(const std::string& path);

// SDL audio callback; `userdata` is the IntroApp. Fills `stream` (`len`
// bytes of interleaved signed 16-bit stereo at 44100 Hz) with the music as
// 44100 Hz stereo, whatever the file's own rate and channels, then sends the
// decoder back to the start once its position has passed the loop point.
void audioCallback(void* userdata, Uint8* stream, int len);

// Opens the audio device for `app` (44100 Hz, S16LSB, stereo, 1024-frame
// buffers, audioCallback) and starts it. Returns 0 when playing; -1 when the
// device cannot be opened, after printing "Couldn't open audio: <SDL error>"
// on standard error.
int startAudio(IntroApp& app);
