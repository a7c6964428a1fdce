#pragma once
// Music playback: the decoder is opened on the main thread at the end of
// start-up, then the audio device pulls the music from it a buffer at a
// time through fillMusicBuffer, which also loops it. Which thread runs what,
// and why no lock is taken: app/AudioCallback.h.
//
// Bad input: a music file that is missing, not a regular file or not Ogg
// Vorbis gives a null decoder and one line on standard error; the show then
// runs in silence. A stream that ends early, or a null decoder, leaves the
// rest of each buffer silent, never stale.
#include "base/ShowConstants.h"

#include <SDL.h>

#include <cstdint>
#include <string>

struct stb_vorbis;

// True when a decoder position lies past `loopPoint`. The test is strict,
// and an unknown position (-1) never loops.
bool passedLoopPoint(int position, double loopPoint = musicLoopPoint);

// Opens the music file for decoding on demand. Returns the decoder, or null
// after printing "Couldn't open music <path> (stb_vorbis error <code>); the
// show plays in silence" on standard error.
stb_vorbis* openMusic(const std::string& path);

// Fills `stream` (`len` bytes of interleaved signed 16-bit stereo at 44100 Hz)
// with the next music from `decoder` as 44100 Hz stereo, whatever the file's
// own rate and channels, then sends the decoder back to the start once its
// position has passed `loopPoint` (the fuzz target loops sooner). Whatever it
// cannot fill (a null decoder, the end of the stream, a trailing odd byte) is
// silence. A `len` of 0 or less does nothing. Allocates nothing and takes no
// lock.
void fillMusicBuffer(stb_vorbis* decoder, std::uint8_t* stream, int len,
                     double loopPoint = musicLoopPoint);

// Opens the audio device (44100 Hz, S16LSB, stereo, 1024-frame buffers) with
// `callback` and its `userdata`, and starts it. Returns 0 when playing; -1
// when the device cannot be opened, after printing "Couldn't open audio:
// <SDL error>" on standard error.
int startAudio(SDL_AudioCallback callback, void* userdata);
