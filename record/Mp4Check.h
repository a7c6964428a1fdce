#pragma once
// Checks the MP4 the encoder wrote instead of trusting its exit status:
// Debian's ffmpeg exits with 0 after a full disk has cut its output short,
// and whatever stands in for it on the PATH may write anything.
//
// A file passes when it is a sequence of whole top-level boxes that covers
// it exactly, 'ftyp' first, with an 'mdat' and a 'moov' (the index, without
// which nothing plays); and when the index holds exactly one video track of
// the expected number of frames and one sound track, each lasting the
// expected length (the sound within soundLengthTolerance: its codec works
// in whole frames of 1024 samples).
//
// Reads the file; no other state, any thread.
#include <cstddef>
#include <cstdint>
#include <string>

struct Mp4Expectation {
    std::int64_t videoFrames = 0;
    double seconds = 0.0;
};

constexpr double soundLengthTolerance = 0.1; // seconds

// Returns true when the file at `path` passes; otherwise false with `error`
// saying, in a few words, what is wrong.
bool checkMp4File(const std::string& path, const Mp4Expectation& expected, std::string& error);
