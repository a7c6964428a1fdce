#pragma once
// The show script: which text item a frame draws, and where, as a function
// of the show clock alone. A cycle has three phases: the opening scroll
// (t < 10), eight greeted names pulsing one after the other (10 < t < 18)
// and the closing scroll (t > 18). At exactly 10 and 18 no text is drawn.
#include "base/ShowConstants.h"

#include <optional>
#include <string>

extern const std::string openingText;
extern const std::string closingText;
extern const std::string greetingNames[greetingCount];
// Base pen position of each name, a little left of centring it at rest (the glyphs' own left
// bearings make up the difference).
extern const float greetingOffsets[greetingCount];

// A text and its placement on the text plane, in model units.
struct TextItem {
    const std::string* text;
    float scaleDivX;
    float scaleDivY;
    float penX;
    float baselineY;
};

// The text item of show time `t`, or nothing when no phase holds.
std::optional<TextItem> textItemAt(float t);
