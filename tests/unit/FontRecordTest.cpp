#include "text/FontRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

constexpr Rect solidBlock{1, 1, 5, 5};

long texelOf(float coordinate) {
    return std::lround(static_cast<double>(coordinate) * 256.0);
}

// The record's rounding of k/256 done the obvious way, independently of the
// generator's integer arithmetic: k/256 is exact in binary, and printf's
// correct rounding takes exact ties to the even digit.
float sixDecimalTexCoord(long texel) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(texel) / 256.0);
    return std::strtof(text, nullptr);
}

Rect rectOf(const Glyph& glyph) {
    const int left = static_cast<int>(texelOf(glyph.s0));
    const int top = static_cast<int>(texelOf(glyph.t0));
    return Rect{left, top, left + glyph.width, top + glyph.height};
}

// Every image rectangle in the atlas: the solid block, then the printable
// glyphs' rectangles.
std::vector<Rect> atlasRects() {
    std::vector<Rect> rects{solidBlock};
    for (std::uint32_t index = 1; index < fontRecord.glyphCount; ++index) {
        rects.push_back(rectOf(fontRecord.glyphs[index]));
    }
    return rects;
}

std::uint8_t texel(int column, int row) {
    return fontRecord.atlas[static_cast<std::size_t>(row) * FontRecord::atlasSide +
                            static_cast<std::size_t>(column)];
}

std::string describe(const Rect& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") to (" +
           std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + ")";
}

} // namespace

// --- look-up -------------------------------------------------------------

TEST(FontRecordLookup, FindsTheSolidGlyphAndEveryPrintableCharacterAtCharcodeMinus31) {
    EXPECT_EQ(findGlyph(fontRecord, 0xFFFFFFFFu), &fontRecord.glyphs[0]);
    for (std::uint32_t charcode = 32; charcode <= 126; ++charcode) {
        EXPECT_EQ(findGlyph(fontRecord, charcode), &fontRecord.glyphs[charcode - 31])
            << "charcode " << charcode;
    }
}

TEST(FontRecordLookup, FindsNothingOutsidePrintableAscii) {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t charcode = 0; charcode < 32; ++charcode) {
        codes.push_back(charcode);
    }
    for (std::uint32_t charcode = 127; charcode < 256; ++charcode) {
        codes.push_back(charcode);
    }
    // Bytes 0x80 to 0xFE reach the renderer sign-extended.
    for (std::uint32_t charcode = 0xFFFFFF80u; charcode < 0xFFFFFFFFu; ++charcode) {
        codes.push_back(charcode);
    }
    codes.insert(codes.end(), {0x100u, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0x80000000u});
    for (const std::uint32_t charcode : codes) {
        EXPECT_EQ(findGlyph(fontRecord, charcode), nullptr) << "charcode " << charcode;
    }
}

TEST(FontRecordLookup, LowerIndexWinsAndSearchStopsAtGlyphCount) {
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

// --- glyph table and metrics ---------------------------------------------

TEST(FontRecordTable, HeaderDescribesOneByteAtlasAnd96Glyphs) {
    EXPECT_EQ(fontRecord.atlasWidth, 256u);
    EXPECT_EQ(fontRecord.atlasHeight, 256u);
    EXPECT_EQ(fontRecord.atlasDepth, 1u);
    EXPECT_EQ(fontRecord.fontSize, 28.0f);
    EXPECT_EQ(fontRecord.glyphCount, 96u);
}

TEST(FontRecordTable, MetricsComeFromADescendingFace) {
    EXPECT_GT(fontRecord.ascender, 0.0f);
    EXPECT_LT(fontRecord.descender, 0.0f);
    EXPECT_EQ(fontRecord.lineGap, 0.0f);
    EXPECT_EQ(fontRecord.lineHeight,
              fontRecord.ascender - fontRecord.descender + fontRecord.lineGap);
}

TEST(FontRecordTable, GlyphOrderIsSolidGlyphThenPrintableAscii) {
    EXPECT_EQ(fontRecord.glyphs[0].charcode, Glyph::solidCharcode);
    for (std::uint32_t index = 1; index < FontRecord::glyphSlots; ++index) {
        EXPECT_EQ(fontRecord.glyphs[index].charcode, 31 + index) << "index " << index;
    }
}

TEST(FontRecordTable, SolidGlyphHasNoSizeOffsetOrAdvance) {
    const Glyph& solid = fontRecord.glyphs[0];
    EXPECT_EQ(solid.width, 0);
    EXPECT_EQ(solid.height, 0);
    EXPECT_EQ(solid.offsetX, 0);
    EXPECT_EQ(solid.offsetY, 0);
    EXPECT_EQ(solid.advanceX, 0.0f);
}

TEST(FontRecordTable, AdvancesArePositiveWholeSixtyFourths) {
    for (std::uint32_t index = 1; index < fontRecord.glyphCount; ++index) {
        const float advance = fontRecord.glyphs[index].advanceX;
        EXPECT_GT(advance, 0.0f) << "index " << index;
        const float sixtyFourths = advance * 64.0f;
        EXPECT_EQ(sixtyFourths, std::floor(sixtyFourths)) << "index " << index;
    }
}

TEST(FontRecordTable, VerticalAdvanceAndKerningAreZero) {
    for (std::uint32_t index = 0; index < fontRecord.glyphCount; ++index) {
        const Glyph& glyph = fontRecord.glyphs[index];
        EXPECT_EQ(glyph.advanceY, 0.0f) << "index " << index;
        EXPECT_EQ(glyph.kerningCount, 0u) << "index " << index;
        EXPECT_EQ(glyph.kerning.charcode, 0u) << "index " << index;
        EXPECT_EQ(glyph.kerning.amount, 0.0f) << "index " << index;
    }
}

// --- texture coordinates ---------------------------------------------------

TEST(FontRecordTexCoords, ReferenceRoundingTakesTiesToTheEvenDigit) {
    EXPECT_EQ(sixDecimalTexCoord(3), 0.011719f);   // 0.01171875, not a tie
    EXPECT_EQ(sixDecimalTexCoord(146), 0.570312f); // 0.5703125, tie, 2 is even
    EXPECT_EQ(sixDecimalTexCoord(10), 0.039062f);  // 0.0390625, tie, 2 is even
    EXPECT_EQ(sixDecimalTexCoord(30), 0.117188f);  // 0.1171875, tie, 7 is odd
    EXPECT_EQ(sixDecimalTexCoord(4), 0.015625f);   // exact
    EXPECT_EQ(sixDecimalTexCoord(128), 0.5f);      // exact
}

TEST(FontRecordTexCoords, SolidGlyphSpansTexelThreeToFourInsideTheBlock) {
    const Glyph& solid = fontRecord.glyphs[0];
    EXPECT_EQ(solid.s0, sixDecimalTexCoord(3));
    EXPECT_EQ(solid.t0, sixDecimalTexCoord(3));
    EXPECT_EQ(solid.s1, sixDecimalTexCoord(4));
    EXPECT_EQ(solid.t1, sixDecimalTexCoord(4));
}

TEST(FontRecordTexCoords, EdgesAreSixDecimalTexelPositionsSpanningTheBitmap) {
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

// --- atlas -----------------------------------------------------------------

TEST(FontRecordAtlas, SolidBlockIsFullyCovered) {
    for (int row = solidBlock.top; row < solidBlock.bottom; ++row) {
        for (int column = solidBlock.left; column < solidBlock.right; ++column) {
            EXPECT_EQ(texel(column, row), 255) << "texel " << column << ", " << row;
        }
    }
}

TEST(FontRecordAtlas, SolidGlyphSamplesOnlyTheBlockUnderLinearFiltering) {
    // Linear filtering at an edge reads the texels on both sides of it.
    const Glyph& solid = fontRecord.glyphs[0];
    EXPECT_GE(texelOf(solid.s0) - 1, solidBlock.left);
    EXPECT_LE(texelOf(solid.s1), solidBlock.right - 1);
    EXPECT_GE(texelOf(solid.t0) - 1, solidBlock.top);
    EXPECT_LE(texelOf(solid.t1), solidBlock.bottom - 1);
}

TEST(FontRecordAtlas, RowZeroAndColumnZeroAreEmpty) {
    for (int i = 0; i < atlasSide; ++i) {
        EXPECT_EQ(texel(i, 0), 0) << "column " << i;
        EXPECT_EQ(texel(0, i), 0) << "row " << i;
    }
}

TEST(FontRecordAtlas, RectanglesLieInsideTheAtlas) {
    for (const Rect& rect : atlasRects()) {
        EXPECT_GE(rect.left, 1) << describe(rect);
        EXPECT_GE(rect.top, 1) << describe(rect);
        EXPECT_LE(rect.right, atlasSide) << describe(rect);
        EXPECT_LE(rect.bottom, atlasSide) << describe(rect);
    }
}

TEST(FontRecordAtlas, RectanglesAreSeparatedByAnEmptyTexel) {
    const std::vector<Rect> rects = atlasRects();
    for (std::size_t a = 0; a < rects.size(); ++a) {
        for (std::size_t b = a + 1; b < rects.size(); ++b) {
            const Rect& first = rects[a];
            const Rect& second = rects[b];
            if (first.empty() || second.empty()) {
                continue;
            }
            const bool apart = first.right < second.left || second.right < first.left ||
                               first.bottom < second.top || second.bottom < first.top;
            EXPECT_TRUE(apart) << describe(first) << " and " << describe(second);
        }
    }
}

TEST(FontRecordAtlas, TexelsOutsideRectanglesAreEmpty) {
    std::vector<bool> inside(FontRecord::atlasSide * FontRecord::atlasSide, false);
    for (const Rect& rect : atlasRects()) {
        for (int row = rect.top; row < rect.bottom; ++row) {
            for (int column = rect.left; column < rect.right; ++column) {
                inside[static_cast<std::size_t>(row) * FontRecord::atlasSide +
                       static_cast<std::size_t>(column)] = true;
            }
        }
    }
    int stray = 0;
    for (int row = 0; row < atlasSide; ++row) {
        for (int column = 0; column < atlasSide; ++column) {
            const bool covered = inside[static_cast<std::size_t>(row) * FontRecord::atlasSide +
                                        static_cast<std::size_t>(column)];
            if (!covered && texel(column, row) != 0) {
                ++stray;
            }
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST(FontRecordAtlas, EveryGlyphBitmapHasCoverage) {
    for (std::uint32_t index = 1; index < fontRecord.glyphCount; ++index) {
        const Rect rect = rectOf(fontRecord.glyphs[index]);
        int maximum = 0;
        for (int row = rect.top; row < rect.bottom; ++row) {
            for (int column = rect.left; column < rect.right; ++column) {
                maximum = std::max(maximum, static_cast<int>(texel(column, row)));
            }
        }
        EXPECT_EQ(maximum > 0, !rect.empty()) << "index " << index << " " << describe(rect);
    }
}

TEST(FontRecordAtlas, TopRowRunsLeftToRightInCharcodeOrder) {
    // The solid block opens the row; glyphs follow from the space on, each
    // one texel right of the previous rectangle, until one does not fit.
    int nextLeft = solidBlock.right + 1;
    std::uint32_t index = 1;
    while (index < fontRecord.glyphCount && rectOf(fontRecord.glyphs[index]).top == 1) {
        const Rect rect = rectOf(fontRecord.glyphs[index]);
        EXPECT_EQ(rect.left, nextLeft) << "index " << index;
        nextLeft = rect.right + 1;
        ++index;
    }
    EXPECT_GT(index, 1u) << "the space should open the top row";
    for (; index < fontRecord.glyphCount; ++index) {
        EXPECT_GT(rectOf(fontRecord.glyphs[index]).top, 1) << "index " << index;
    }
}
