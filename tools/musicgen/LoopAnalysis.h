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
    long long fileFrames = 0;           // length of the stream, read by decoding it all
    long long jumpFrame = -1;           // frames handed out before the first jump (P)
    long long callbacksBeforeJump = -1; // the same in callbacks
    long long positionAtJump = -1;      // decoder position that triggered it
    long long secondCycleFrames = -1;   // frames handed out between the first and second jump
    long long resumeMismatches = 0;     // frames after the jump that differ from the stream's start
    // Largest change of one channel from one frame to the next: across the
    // first jump, and anywhere else in what was handed out.
    int stepAtJump = 0;
    int largestStepElsewhere = 0;
};

// A file that cannot be decoded gives `opened` false; one whose decoder
// position never passes the loop point gives `jumpFrame` -1.
LoopAnalysis analyseLoop(const std::string& path, const PlayerModel& player);

void printLoopAnalysis(std::ostream& out, const LoopAnalysis& analysis);
