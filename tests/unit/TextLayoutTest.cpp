#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Emitted {
    std::vector<GlyphQuad> quads;
    float pen = 0.0f;
};

Emitted layOut(const FontRecord& font, const std::string& text, float penX = 1.5f,
               float baselineY = -3.0f) {
    Emitted result;
    result.pen = layoutText(font, text, 0.025f, modelUnitsPerPixel(30.0f), penX, baselineY,
                            [&](const GlyphQuad& quad) { result.quads.push_back(quad); });
    return result;
}

// charcode, width, height, offsetX, offsetY, advanceX, advanceY, s0, t0, s1, t1
const Glyph glyphA{'A',  18,        21,        -1,        20, 16.015625f, 0.0f,
                   0.5f, 0.140625f, 0.570312f, 0.222656f, 0,  {}};

} // namespace

TEST(GlyphQuadBuilder, WorkedExampleGivesItsCorners) {
    const float sx = modelUnitsPerPixel(40.0f);
    const float sy = modelUnitsPerPixel(30.0f);
    EXPECT_EQ(sx, 0.025f);
    EXPECT_EQ(sy, 0.033333335f);
    const GlyphQuad quad = buildGlyphQuad(glyphA, 0.0f, 0.0f, sx, sy);
    const float x0 = -0.025f, x1 = 0.42500001f, y0 = 0.66666669f, y1 = -0.033333361f;
    // top-left, bottom-left, bottom-right, top-left, bottom-right, top-right:
    // both triangles counter-clockwise
    const float expected[24] = {x0, y0, 0.5f,      0.140625f, x0, y1, 0.5f,      0.222656f,
                                x1, y1, 0.570312f, 0.222656f, x0, y0, 0.5f,      0.140625f,
                                x1, y1, 0.570312f, 0.222656f, x1, y0, 0.570312f, 0.140625f};
    for (int i = 0; i < 24; ++i) {
        EXPECT_FLOAT_EQ(quad.vertices[i], expected[i]) << "float " << i;
    }
}

namespace {
float advance(char c) {
    return fontRecord.glyphs[c - 31].advanceX * 0.025f;
}
} // namespace

TEST(TextLayout, EachByteWithAGlyphDrawsOneQuadAndMovesThePenByItsAdvance) {
    std::string noGlyph{'\x7F'};
    for (int byte = 0; byte < 0xFF; byte = byte == 31 ? 0x80 : byte + 1) {
        noGlyph += static_cast<char>(byte);
    }
    const struct {
        std::string text;
        std::size_t quads;
        float pen;
    } cases[] = {
        {"", 0, 1.5f},
        {noGlyph, 0, 1.5f},
        {"\xFF", 1, 1.5f}, // the solid glyph, read as a signed byte
        {" ", 1, 1.5f + advance(' ')},
        {"Hi\nyo", 4, 1.5f + advance('H') + advance('i') + advance('y') + advance('o')},
    };
    for (const auto& c : cases) {
        const Emitted result = layOut(fontRecord, c.text);
        EXPECT_EQ(result.quads.size(), c.quads) << c.text;
        EXPECT_FLOAT_EQ(result.pen, c.pen) << c.text;
    }
    // The third glyph of "Hi\nyo" starts after the first two.
    EXPECT_FLOAT_EQ(layOut(fontRecord, "Hi\nyo", 0.0f).quads[2].vertices[0],
                    static_cast<float>(fontRecord.glyphs['y' - 31].offsetX) * 0.025f +
                        advance('H') + advance('i'));
}
