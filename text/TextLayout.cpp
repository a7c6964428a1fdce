#include "text/TextLayout.h"

float modelUnitsPerPixel(float divisor) {
    return static_cast<float>(1.0 / static_cast<double>(divisor));
}

const Glyph* glyphForByte(const FontRecord& font, char byte) {
    const std::int32_t widened = static_cast<signed char>(byte);
    return findGlyph(font, static_cast<std::uint32_t>(widened));
}

GlyphQuad buildGlyphQuad(const Glyph& glyph, float penX, float baselineY, float sx, float sy) {
    const float x0 = static_cast<float>(glyph.offsetX) * sx + penX;
    const float y0 = static_cast<float>(glyph.offsetY) * sy + baselineY;
    const float x1 = x0 + static_cast<float>(glyph.width) * sx;
    const float y1 = y0 - static_cast<float>(glyph.height) * sy;
    // clang-format off
    return {{
        x0, y0, glyph.s0, glyph.t0,
        x0, y1, glyph.s0, glyph.t1,
        x1, y1, glyph.s1, glyph.t1,
        x0, y0, glyph.s0, glyph.t0,
        x1, y1, glyph.s1, glyph.t1,
        x1, y0, glyph.s1, glyph.t0,
    }};
    // clang-format on
}
