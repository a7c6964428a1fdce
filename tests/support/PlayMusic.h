#pragma once
// Plays a music file the way the show does, for the damaged-music tests and
// the fuzz target: openMusic, then a few hundred fillMusicBuffer calls with a
// loop point early enough that short files go back to their start as well.
#include <string>

// Returns whether the open gave a decoder. A failed open prints the show's
// one line on standard error.
bool playMusicFile(const std::string& path);
