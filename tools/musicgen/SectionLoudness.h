// The loudness of each section of the form, each measured over its own
// frames: the piece's shape as a meter shows it.
#pragma once

#include "Arrangement.h"
#include "StereoBuffer.h"
#include "Timeline.h"

#include <vector>

struct SectionLoudness {
    const char* name;
    double lufs; // gated, so a section where the signal is silent reads far below -70
};

// `signal` starts at the cycle's start and holds at least the whole cycle.
std::vector<SectionLoudness> sectionLoudness(const StereoBuffer& signal, const Timeline& timeline,
                                             const std::vector<SectionSpan>& sections);
