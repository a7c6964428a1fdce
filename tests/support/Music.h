#pragma once
// The show's music for the tests: a reference decode to compare its buffers
// with, and a file played through the show's own open and fill.
#include <string>
#include <vector>

// The samples of a stereo Ogg Vorbis file as interleaved 16-bit stereo, the
// stream decoded whole: at most `maxFrames` frames, or all of them when it is
// negative. Empty when the file cannot be decoded or is not stereo.
std::vector<short> decodeMusic(const std::string& path, long maxFrames = -1);

// Plays a music file the way the show does, for the damaged-music tests and
// the fuzz target: openMusic, then a few hundred fillMusicBuffer calls with a
// loop point early enough that short files go back to their start as well.
// Returns whether the open gave a decoder; a failed open prints the show's
// one line on standard error.
bool playMusicFile(const std::string& path);
