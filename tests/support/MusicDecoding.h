#pragma once
#include <string>
#include <vector>

// The samples of an Ogg Vorbis file as a fresh decoder hands them out, as
// interleaved 16-bit stereo, 1024 frames per request like the audio device
// asks: at most `maxFrames` frames, or the whole stream when it is negative.
// Returns nothing when the file cannot be decoded.
std::vector<short> decodeMusic(const std::string& path, long maxFrames = -1);
