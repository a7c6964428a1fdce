// Synthesised percussion. Each function renders one hit into a cycle buffer,
// starting at the hit's step; noise comes from `seed`, one seed per hit.
#pragma once

#include "Arrangement.h"
#include "StereoBuffer.h"
#include "Timeline.h"

#include <cstdint>

// `lowCutHz` above 0 takes the weight out of the kick through a high-pass.
void renderKick(StereoBuffer& out, const Timeline& timeline, const Hit& hit, double lowCutHz);
void renderClap(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed);
void renderSnare(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed);
void renderClosedHat(StereoBuffer& out, const Timeline& timeline, const Hit& hit,
                     std::uint64_t seed);
void renderOpenHat(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed);
void renderShaker(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed);
void renderCrash(StereoBuffer& out, const Timeline& timeline, const Hit& hit, std::uint64_t seed);
void renderRiser(StereoBuffer& out, const Timeline& timeline, const Sweep& sweep,
                 std::uint64_t seed);

// The envelope that the kick imposes on the other parts (1 at each kick,
// falling back to 0), used for side-chain ducking.
void renderKickPulse(std::vector<float>& pulse, const Timeline& timeline, const Hit& hit);
