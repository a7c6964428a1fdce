// The pitched instruments. Each function renders one note into a cycle
// buffer; filter curves come from the arrangement and are read at the note's
// own position in the cycle.
#pragma once

#include "Arrangement.h"
#include "StereoBuffer.h"
#include "Timeline.h"

#include <cstdint>

void renderBassNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                    const Automation& cutoff);
void renderPadNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                   const Automation& cutoff, std::uint64_t seed);
void renderPluckNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                     const Automation& cutoff);
// `previous` is the lead note before this one (or null); when it runs up to
// this note's start, the pitch glides over from it.
void renderLeadNote(StereoBuffer& out, const Timeline& timeline, const Note& note,
                    const Note* previous);
void renderKeysNote(StereoBuffer& out, const Timeline& timeline, const Note& note);
