// Where the show's player really jumps back, found by playing the file the
// way the player does: 1024 stereo frames per audio callback, then a look at
// the decoder's position, and a seek to 0 once that position has passed the
// loop point. The position runs ahead of what has been handed out by
// whatever the decoder still holds, so the jump happens at a whole number of
// callbacks that depends on the encoded file itself.
#pragma once

#include "base/ShowConstants.h"

#include <iosfwd>
#include <string>

struct PlayerModel {
    double loopPoint = musicLoopPoint; // samples per channel
    int framesPerCallback = audioBufferFrames;
};

struct LoopAnalysis {
    bool opened = false;
    long long fileFrames = 0;         // length of the stream, read by decoding it all
    long long jumpFrame = -1;         // frames handed out before the first jump (P)
    long long positionAtJump = -1;    // decoder position that triggered it
    long long secondCycleFrames = -1; // frames handed out between the first and second jump
    bool shortFill = false;           // a callback got fewer frames than it asked for
    long long resumeMismatches = 0;   // frames after the jump that differ from the stream's start
    // Largest per-channel change from the last frame before the jump to the
    // first after it.
    int stepAtJump = 0;
    // The same change where the file itself plays on past P.
    int stepInFileAtJump = 0;
    // Largest change anywhere else in the first `examined` frames.
    int largestStepElsewhere = 0;
    long long largestStepElsewhereFrame = -1;
    // Largest change within half a second of the jump, the jump excluded.
    int largestStepNearJump = 0;
    // After the jump, against the file's own continuation past P, in the
    // first second.
    int largestDeviationAfterJump = 0;
    long long examinedFrames = 0;
};

LoopAnalysis analyseLoop(const std::string& path, const PlayerModel& player,
                         double examineSeconds = 60.0);

void printLoopAnalysis(std::ostream& out, const LoopAnalysis& analysis);
