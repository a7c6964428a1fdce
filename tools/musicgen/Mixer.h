// Renders every part of the score into its own bus, applies the side-chain
// pump and the shared echo and room, and sums the lot into one cycle.
#pragma once

#include "Arrangement.h"
#include "StereoBuffer.h"
#include "Timeline.h"

#include <iosfwd>

// When `levels` is given, each bus's RMS level is written there, one line
// per bus, for balancing the mix by measurement.
StereoBuffer renderMix(const Timeline& timeline, const Arrangement& song, std::ostream* levels);
