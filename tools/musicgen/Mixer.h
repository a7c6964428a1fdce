// Renders every part of the score into its own bus, applies the side-chain
// pump and the shared echo and room, and sums the lot into one cycle.
#pragma once

#include "Arrangement.h"
#include "StereoBuffer.h"
#include "Timeline.h"

#include <cstdint>
#include <iosfwd>

// Every noise (the drums', the pads' starting phases) is drawn from seeds
// that `noiseVariation` changes: another variation sounds the same, sample
// for sample different. When `levels` is given, each bus's loudness, over
// the piece and in each section, is written there, one line per bus, for
// balancing the mix by measurement.
StereoBuffer renderMix(const Timeline& timeline, const Arrangement& song,
                       std::uint64_t noiseVariation, std::ostream* levels);
