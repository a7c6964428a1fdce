#pragma once
// The show's numbers, named once. The program, its tests and the off-line
// tools all include this header, so it includes nothing of theirs and
// holds nothing but constants.
#include <cstdint>

// The window: full screen at this size, with this title.
constexpr int windowWidth = 800;
constexpr int windowHeight = 600;
constexpr const char* windowTitle = "velmora innit";

// The show clock counts one unit per 4 seconds from -1 and starts again
// every 28 units (112 seconds).
constexpr std::uint32_t millisecondsPerShowUnit = 4000;
constexpr std::uint32_t showCycleMilliseconds = 28 * millisecondsPerShowUnit;

// The phases of a cycle: the opening scroll before `greetingsStart`, one
// greeted name per unit up to `greetingsEnd`, the closing scroll after it.
// At exactly the two bounds no text is drawn.
constexpr float greetingsStart = 10.0f;
constexpr float greetingsEnd = 18.0f;
constexpr int greetingCount = 8;

// Placement of the text items, in model units of the text plane. The scale
// divisors turn glyph pixels into model units (1 / divisor per pixel).
constexpr float textScaleDivY = 30.0f;
constexpr float restingScaleDivX = 40.0f; // the scrolls, and a name at rest
constexpr float scrollBaselineY = -3.0f;  // near the bottom of the window
constexpr float greetingBaselineY = 0.0f; // through its middle
// The scrolls move their pen left by 8 model units per show unit (2 per
// second): the opening pen is 1 - 8t, the closing pen (19 - t) * 8.
constexpr float scrollSpeed = 8.0f;
constexpr float openingPenAtZero = 1.0f;
constexpr float closingPenZeroAt = 19.0f;
// A name's horizontal divisor pulses as 40 + 20 sin(8t).
constexpr float greetingPulseRate = 8.0f;
constexpr float greetingPulseDepth = 20.0f;

// The audio device: signed 16-bit stereo at 44100 Hz, pulled 1024 frames
// at a time.
constexpr int audioSampleRate = 44100;
constexpr int audioChannels = 2;
constexpr int audioBufferFrames = 1024;

// Show-clock milliseconds at which the music's first sample is heard: the
// heart's beat grid starts here (data/heart.vsh holds the same number) and
// the recorder lays its sound track out from here.
// The timer starts at SDL_Init and the music at the first audio callback,
// after start-up. On the show's 2-core machine (Xvfb, software GL), with the
// show given the processors as on an idle machine, that callback came
// 334-404 ms in, 360 ms at the median, mostly window and GL library set-up;
// SDL reports a device buffer of 1024 frames, 23 ms, that the first samples
// wait out before they are heard. A busy machine starts later (0.6-3 s seen
// with six builds running): the music runs on its own clock, so a live show
// is only as close as its start-up is typical; a recording places the music
// here exactly.
constexpr std::uint32_t musicStartMs = 383;

// Position, in samples per channel, past which the music goes back to its
// start: 48.45 s at 44100 Hz.
constexpr double musicLoopPoint = 2136645.0;

// The one π of the program, its tests and the tools.
constexpr double pi = 3.141592653589793;
