#pragma once
// The command line of the recorder:
//
//   velmora-record [--seconds S] [--fps N] [--size WxH] [--quality draft|release]
//                  [--raw-frames FILE] [OUT.mp4]
//
// Bad input (an unknown option, a missing or malformed value, a value out of
// range, two output paths) is refused with a one-line reason; nothing here
// prints or exits.
#include "base/ShowConstants.h"

#include <cstdint>
#include <optional>
#include <string>

// How the encoder spends its time: draft is quick (a cycle in about half
// the time the show takes at 800x600), release is for uploading.
enum class RecordQuality { draft, release };

struct RecordOptions {
    std::string outputPath = "velmora.mp4";
    // Length of the recording; one whole cycle unless asked otherwise.
    double seconds = showCycleMilliseconds / 1000.0;
    int framesPerSecond = 60;
    // Frame size; the picture is the largest centred 4:3 part of it.
    int width = windowWidth;
    int height = windowHeight;
    RecordQuality quality = RecordQuality::draft;
    // When not empty, every frame also goes to this file exactly as the
    // encoder receives it (RGBA, rows bottom-up), for comparing runs.
    std::string rawFramesPath;
    bool helpRequested = false;
};

constexpr double maxRecordSeconds = 3600.0;
constexpr int maxFramesPerSecond = 240;
// Frame sizes: even sides (4:2:0 keeps a colour sample per 2x2 pixels),
// from 320x240 up to 8K.
constexpr int minFrameWidth = 320;
constexpr int minFrameHeight = 240;
constexpr int maxFrameWidth = 7680;
constexpr int maxFrameHeight = 4320;

extern const char* const recordUsage;

// Parses the arguments that follow the program name. Returns nullopt with
// `error` set to one line when they are not valid.
std::optional<RecordOptions> parseRecordOptions(int argumentCount, const char* const arguments[],
                                                std::string& error);

// Frames in the recording: seconds x rate, rounded, at least one.
int recordFrameCount(const RecordOptions& options);

// The timer reading frame `frame` is drawn at: round(frame x 1000 / rate) ms.
std::uint32_t frameTicks(int frame, int framesPerSecond);
