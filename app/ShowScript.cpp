#include "app/ShowScript.h"

#include <cmath>

std::optional<TextItem> textItemAt(float t) {
    if (t < 10.0f) {
        // 2 units a second leftwards, entering from x = 9.
        return TextItem{&openingText, 40.0f, 30.0f, 1.0f - t * 8.0f, -3.0f};
    }
    if (t > 10.0f && t < 18.0f) {
        // One name per unit of t; the width pulses with s = sin(8t) between
        // 2/3 and 2 times its width at 40, the pen moving to keep it centred.
        const int index = static_cast<int>(t - 10.0f);
        const float offset = greetingOffsets[index];
        const float s = static_cast<float>(std::sin(static_cast<double>(8.0f * t)));
        return TextItem{&greetingNames[index], s * 20.0f + 40.0f, 30.0f,
                        offset - (s * offset) * 0.5f, 0.0f};
    }
    if (t > 18.0f) {
        return TextItem{&closingText, 40.0f, 30.0f, (19.0f - t) * 8.0f, -3.0f};
    }
    return std::nullopt;
}
