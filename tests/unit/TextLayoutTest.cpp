#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <memory>
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

bool zeroArea(const GlyphQuad& quad) {
    const float* v = quad.vertices;
    return v[0] == v[8] && v[1] == v[9];
}

Glyph glyphA() {
    Glyph glyph{};
    glyph.charcode = 'A';
    glyph.width = 18;
    glyph.height = 21;
    glyph.offsetX = -1;
    glyph.offsetY = 20;
    glyph.advanceX = 16.015625f;
    glyph.s0 = 0.5f;
    glyph.t0 = 0.140625f;
    glyph.s1 = 0.570312f;
    glyph.t1 = 0.222656f;
    return glyph;
}

} // namespace

TEST(GlyphQuadBuilder, WorkedExampleGivesItsCornersAndPen) {
    const float sx = modelUnitsPerPixel(40.0f);
    const float sy = modelUnitsPerPixel(30.0f);
    EXPECT_EQ(sx, 0.025f);
    EXPECT_EQ(sy, 0.033333335f);
    const Glyph glyph = glyphA();
    const GlyphQuad quad = buildGlyphQuad(glyph, 0.0f, 0.0f, sx, sy);
    const float x0 = -0.025f, x1 = 0.42500001f, y0 = 0.66666669f, y1 = -0.033333361f;
    // top-left, bottom-left, bottom-right, top-left, bottom-right, top-right
    const float expected[24] = {x0, y0, 0.5f,      0.140625f, x0, y1, 0.5f,      0.222656f,
                                x1, y1, 0.570312f, 0.222656f, x0, y0, 0.5f,      0.140625f,
                                x1, y1, 0.570312f, 0.222656f, x1, y0, 0.570312f, 0.140625f};
    for (int i = 0; i < 24; ++i) {
        EXPECT_FLOAT_EQ(quad.vertices[i], expected[i]) << "float " << i;
    }

    FontRecord* font = new FontRecord(fontRecord);
    std::unique_ptr<FontRecord> owner(font);
    font->glyphs['A' - 31] = glyph;
    const Emitted laidOut = layOut(*font, "A", 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(laidOut.pen, 0.40039062f);
}

TEST(GlyphQuadBuilder, BothTrianglesRunCounterClockwise) {
    const GlyphQuad quad = buildGlyphQuad(glyphA(), 2.0f, -3.0f, 0.025f, 0.033333335f);
    for (int triangle = 0; triangle < 2; ++triangle) {
        const float* v = quad.vertices + triangle * 12;
        const float cross = (v[4] - v[0]) * (v[9] - v[1]) - (v[5] - v[1]) * (v[8] - v[0]);
        EXPECT_GT(cross, 0.0f) << "triangle " << triangle;
    }
}

TEST(TextLayout, BytesWithoutAGlyphDrawNothingAndLeaveThePen) {
    std::string noGlyph;
    for (int byte = 0; byte < 32; ++byte) {
        noGlyph += static_cast<char>(byte);
    }
    noGlyph += '\x7F';
    for (int byte = 0x80; byte < 0xFF; ++byte) {
        noGlyph += static_cast<char>(byte);
    }
    const Emitted result = layOut(fontRecord, noGlyph);
    EXPECT_TRUE(result.quads.empty());
    EXPECT_EQ(result.pen, 1.5f);
    EXPECT_TRUE(layOut(fontRecord, "").quads.empty());
}

TEST(TextLayout, ByteFFDrawsTheSolidGlyphWithoutMovingThePen) {
    const Emitted result = layOut(fontRecord, "\xFF");
    ASSERT_EQ(result.quads.size(), 1u);
    EXPECT_TRUE(zeroArea(result.quads[0]));
    EXPECT_EQ(result.quads[0].vertices[0], 1.5f);
    EXPECT_EQ(result.pen, 1.5f);
}

TEST(TextLayout, SpaceDrawsAZeroAreaQuadAndMovesThePen) {
    const Emitted result = layOut(fontRecord, " ");
    ASSERT_EQ(result.quads.size(), 1u);
    EXPECT_TRUE(zeroArea(result.quads[0]));
    EXPECT_EQ(result.pen, 1.5f + fontRecord.glyphs[1].advanceX * 0.025f);
}

TEST(TextLayout, PenAdvancesGlyphByGlyph) {
    const Emitted result = layOut(fontRecord, "Hi\nyo", 0.0f, 0.0f);
    ASSERT_EQ(result.quads.size(), 4u); // the line break draws nothing
    float pen = 0.0f;
    for (char c : std::string("Hiyo")) {
        pen += fontRecord.glyphs[c - 31].advanceX * 0.025f;
    }
    EXPECT_FLOAT_EQ(result.pen, pen);
    EXPECT_FLOAT_EQ(
        result.quads[2].vertices[0],
        static_cast<float>(fontRecord.glyphs['y' - 31].offsetX) * 0.025f +
            (fontRecord.glyphs['H' - 31].advanceX + fontRecord.glyphs['i' - 31].advanceX) * 0.025f);
}

TEST(TextLayout, KerningAmountIsAddedUnconditionally) {
    std::unique_ptr<FontRecord> kerned(new FontRecord(fontRecord));
    kerned->glyphs['B' - 31].kerning.amount = 0.5f;
    const Emitted plain = layOut(fontRecord, "AB", 0.0f);
    const Emitted withKerning = layOut(*kerned, "AB", 0.0f);
    EXPECT_FLOAT_EQ(withKerning.pen - plain.pen, 0.5f);
    EXPECT_FLOAT_EQ(withKerning.quads[1].vertices[0] - plain.quads[1].vertices[0], 0.5f);
}
