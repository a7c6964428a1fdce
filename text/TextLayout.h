#pragma once
// Turns a string into glyph quads on the text plane, without GL, so the
// arithmetic can be checked on its own. drawText submits what this builds.
#include "text/FontRecord.h"

#include <cstdint>
#include <string>

// Six vertices (x, y, s, t) of one glyph, two counter-clockwise triangles:
// top-left, bottom-left, bottom-right, then top-left, bottom-right, top-right.
struct GlyphQuad {
    float vertices[24];
};

// Scale from glyph pixels to model units: 1 / divisor in double precision,
// narrowed to float once (40 gives 0.025, 30 gives 0.033333335).
float modelUnitsPerPixel(float divisor);

// The glyph that a byte of text draws: the byte is read as a signed 8-bit
// value widened to 32 bits, so 0xFF finds the solid glyph (0xFFFFFFFF) and
// other bytes above 0x7F find nothing. Returns nullptr when no glyph matches.
const Glyph* glyphForByte(const FontRecord& font, char byte);

// Builds the quad of `glyph` with its pen at `penX` (kerning already added)
// on the baseline `baselineY`, with `sx` and `sy` model units per pixel.
GlyphQuad buildGlyphQuad(const Glyph& glyph, float penX, float baselineY, float sx, float sy);

// Lays `text` out from `penX` along `baselineY`: for each byte that has a
// glyph, adds the glyph's kerning amount to the pen, hands the glyph's quad
// to `emit`, then advances the pen by advanceX * sx. Bytes without a glyph
// emit nothing and leave the pen. Returns the final pen. Allocates nothing.
template <typename Emit>
float layoutText(const FontRecord& font, const std::string& text, float sx, float sy, float penX,
                 float baselineY, Emit&& emit) {
    float pen = penX;
    for (const char byte : text) {
        const Glyph* glyph = glyphForByte(font, byte);
        if (glyph == nullptr) {
            continue;
        }
        pen += glyph->kerning.amount;
        emit(buildGlyphQuad(*glyph, pen, baselineY, sx, sy));
        pen += glyph->advanceX * sx;
    }
    return pen;
}
