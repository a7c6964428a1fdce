#pragma once
#include "text/FontRecord.h"

#include <string>

// Width of `text` in model units at `scaleDivX`: the sum of the advances of
// the glyphs its bytes draw, divided by the divisor.
float textWidth(const FontRecord& font, const std::string& text, float scaleDivX);
