// The score: every note and drum hit of one loop cycle, in sixteenth-note
// steps from the cycle start, plus the filter curves that shape the sections.
// It knows nothing about samples, so the same score serves any cycle length.
#pragma once

#include "Timeline.h"

#include <vector>

struct Hit {
    double step;
    double velocity; // 0..1
};

struct Note {
    double step;
    double length; // steps the key is held
    int pitch;     // MIDI note number
    double velocity;
};

struct Sweep {
    double step;
    double length;
    double velocity;
};

// A part of the piece's form, in whole bars.
struct SectionSpan {
    const char* name;
    int firstBar;
    int barCount;
};

struct Arrangement {
    int bars = 0;
    std::vector<SectionSpan> sections; // in order, covering every bar once

    std::vector<Hit> kicks;
    std::vector<Hit> claps;
    std::vector<Hit> snares;
    std::vector<Hit> closedHats;
    std::vector<Hit> openHats;
    std::vector<Hit> shakers;
    std::vector<Hit> crashes;
    std::vector<Sweep> risers;

    std::vector<Note> bass;
    std::vector<Note> pad;
    std::vector<Note> arp;
    std::vector<Note> lead;
    std::vector<Note> leadOctave; // the hook doubled an octave up
    std::vector<Note> keys;

    // Cutoff curves in octaves above 20 Hz, so that linear interpolation
    // between keyframes sweeps evenly to the ear.
    Automation padCutoff{{}, 1};
    Automation arpCutoff{{}, 1};
    Automation bassCutoff{{}, 1};
    // A high-pass on each kick, in Hz (0: none), that thins it before the drop.
    Automation kickLowCut{{}, 1};
    // How wide the pads spread: the gain of their side (left minus right)
    // signal, 1 as played, 0 in mono.
    Automation padWidth{{}, 1};
};

// Cutoff in Hz from an automation value in octaves above 20 Hz.
double cutoffFromOctaves(double octaves);

Arrangement composeArrangement();
