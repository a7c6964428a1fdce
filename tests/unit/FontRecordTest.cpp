// The compiled-in font: glyph look-up, and the atlas properties the
// renderer relies on (each glyph samples its own image and nothing else).
// Which bytes find a glyph is checked through the layout (TextLayoutTest).
#include "text/FontRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int atlasSide = static_cast<int>(FontRecord::atlasSide);

// Texel rectangle in the atlas, right and bottom exclusive.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;
    bool empty() const { return right == left || bottom == top; }
};

long texelOf(float coordinate) {
    return std::lround(static_cast<double>(coordinate) * atlasSide);
}

// k/256 rounded to six decimals, done independently of the generator: k/256
// is exact in binary, and printf rounds exact ties to the even digit.
float sixDecimalTexCoord(long texel) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(texel) / atlasSide);
    return std::strtof(text, nullptr);
}

Rect rectOf(const Glyph& glyph) {
    const int left = static_cast<int>(texelOf(glyph.s0));
    const int top = static_cast<int>(texelOf(glyph.t0));
    return Rect{left, top, left + glyph.width, top + glyph.height};
}

std::uint8_t texel(int column, int row) {
    return fontRecord.atlas[static_cast<std::size_t>(row * atlasSide + column)];
}

} // namespace

TEST(FontRecord, LookUpTakesTheLowestIndexAndStopsAtGlyphCount) {
    const auto font = std::make_unique<FontRecord>();
    font->glyphCount = 3;
    font->glyphs[0].charcode = 'A';
    font->glyphs[1].charcode = 'B';
    font->glyphs[2].charcode = 'A';
    font->glyphs[3].charcode = 'C'; // beyond glyphCount
    EXPECT_EQ(findGlyph(*font, 'A'), &font->glyphs[0]);
    EXPECT_EQ(findGlyph(*font, 'B'), &font->glyphs[1]);
    EXPECT_EQ(findGlyph(*font, 'C'), nullptr);
}

TEST(FontRecord, TexCoordsAreSixDecimalTexelEdgesSpanningEachImage) {
    for (std::uint32_t index = 1; index < fontRecord.glyphCount; ++index) {
        const Glyph& glyph = fontRecord.glyphs[index];
        const long left = texelOf(glyph.s0);
        const long top = texelOf(glyph.t0);
        EXPECT_EQ(glyph.s0, sixDecimalTexCoord(left)) << "index " << index;
        EXPECT_EQ(glyph.t0, sixDecimalTexCoord(top)) << "index " << index;
        EXPECT_EQ(glyph.s1, sixDecimalTexCoord(left + glyph.width)) << "index " << index;
        EXPECT_EQ(glyph.t1, sixDecimalTexCoord(top + glyph.height)) << "index " << index;
    }
}

TEST(FontRecord, GlyphImagesLieApartInsideTheAtlasOnEmptyGround) {
    std::vector<Rect> rects{{1, 1, 5, 5}}; // the solid block
    for (std::uint32_t index = 1; index < fontRecord.glyphCount; ++index) {
        rects.push_back(rectOf(fontRecord.glyphs[index]));
    }
    std::vector<bool> covered(FontRecord::atlasSide * FontRecord::atlasSide, false);
    for (std::size_t a = 0; a < rects.size(); ++a) {
        const Rect& rect = rects[a];
        const std::string where = "rectangle " + std::to_string(a);
        EXPECT_TRUE(rect.left >= 1 && rect.top >= 1) << where;
        EXPECT_TRUE(rect.right <= atlasSide && rect.bottom <= atlasSide) << where;
        int coverage = 0;
        for (int row = rect.top; row < rect.bottom; ++row) {
            for (int column = rect.left; column < rect.right; ++column) {
                covered[static_cast<std::size_t>(row * atlasSide + column)] = true;
                coverage = std::max(coverage, static_cast<int>(texel(column, row)));
            }
        }
        EXPECT_EQ(coverage > 0, !rect.empty()) << where;
        for (std::size_t b = a + 1; b < rects.size(); ++b) {
            const Rect& other = rects[b];
            const bool apart = rect.right < other.left || other.right < rect.left ||
                               rect.bottom < other.top || other.bottom < rect.top;
            EXPECT_TRUE(apart || rect.empty() || other.empty()) << where << " and " << b;
        }
    }
    int stray = 0;
    for (int i = 0; i < atlasSide * atlasSide; ++i) {
        stray += !covered[static_cast<std::size_t>(i)] && fontRecord.atlas[i] != 0;
    }
    EXPECT_EQ(stray, 0);
}
