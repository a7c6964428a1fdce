#include "app/ShowScript.h"

#include <cmath>

std::optional<TextItem> textItemAt(float t) {
    if (t < greetingsStart) {
        // Enters from x = 9 at t = -1.
        return TextItem{&openingText, restingScaleDivX, textScaleDivY,
                        openingPenAtZero - t * scrollSpeed, scrollBaselineY};
    }
    if (t > greetingsStart && t < greetingsEnd) {
        // One name per unit of t; the width pulses with s = sin(8t) between
        // 2/3 and 2 times its width at rest, the pen moving to keep it centred.
        const int index = static_cast<int>(t - greetingsStart);
        const float offset = greetingOffsets[index];
        const float s = static_cast<float>(std::sin(static_cast<double>(greetingPulseRate * t)));
        return TextItem{&greetingNames[index], s * greetingPulseDepth + restingScaleDivX,
                        textScaleDivY, offset - (s * offset) * 0.5f, greetingBaselineY};
    }
    if (t > greetingsEnd) {
        return TextItem{&closingText, restingScaleDivX, textScaleDivY,
                        (closingPenZeroAt - t) * scrollSpeed, scrollBaselineY};
    }
    return std::nullopt;
}
