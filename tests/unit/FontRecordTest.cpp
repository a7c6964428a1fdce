// The compiled-in font: glyph look-up, and the atlas properties the
// renderer relies on (each glyph samples its own image and nothing else).
// Which bytes find a glyph is checked through the layout (TextLayoutTest).
#include "text/FontRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The texel edge a texture coordinate names: each is k/256 to six decimals.
int edgeOf(float coordinate) {
    const double texels = static_cast<double>(coordinate) * atlasSide;
    EXPECT_NEAR(texels, std::round(texels), 1e-3) << coordinate;
    return static_cast<int>(std::lround(texels));
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

TEST(FontRecord, GlyphImagesSpanTheirTexCoordsAndLieApartInsideTheAtlasOnEmptyGround) {
    std::vector<Rect> rects{{1, 1, 5, 5}}; // the solid block
    for (std::uint32_t index = 1; index < fontRecord.glyphCount; ++index) {
        const Glyph& glyph = fontRecord.glyphs[index];
        const Rect rect{edgeOf(glyph.s0), edgeOf(glyph.t0), edgeOf(glyph.s1), edgeOf(glyph.t1)};
        EXPECT_EQ(rect.right - rect.left, glyph.width) << "index " << index;
        EXPECT_EQ(rect.bottom - rect.top, glyph.height) << "index " << index;
        rects.push_back(rect);
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
