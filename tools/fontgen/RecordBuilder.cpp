#include "RecordBuilder.h"

#include "AtlasPacker.h"
#include "TexCoord.h"

#include <cstddef>

namespace {

constexpr int solidBlockSide = 4;

std::size_t atlasIndex(int column, int row) {
    return static_cast<std::size_t>(row) * FontRecord::atlasSide + static_cast<std::size_t>(column);
}

void fillSolid(FontRecord& record, const TexelRect& rect) {
    for (int row = 0; row < rect.height; ++row) {
        for (int column = 0; column < rect.width; ++column) {
            record.atlas[atlasIndex(rect.x + column, rect.y + row)] = 255;
        }
    }
}

void copyCoverage(FontRecord& record, const TexelRect& rect, const GlyphBitmap& bitmap) {
    for (int row = 0; row < rect.height; ++row) {
        for (int column = 0; column < rect.width; ++column) {
            const std::size_t from = static_cast<std::size_t>(row) * bitmap.width + column;
            record.atlas[atlasIndex(rect.x + column, rect.y + row)] = bitmap.coverage[from];
        }
    }
}

void setTexCoords(Glyph& glyph, int left, int top, int right, int bottom) {
    glyph.s0 = texCoordFromTexel(static_cast<std::uint32_t>(left));
    glyph.t0 = texCoordFromTexel(static_cast<std::uint32_t>(top));
    glyph.s1 = texCoordFromTexel(static_cast<std::uint32_t>(right));
    glyph.t1 = texCoordFromTexel(static_cast<std::uint32_t>(bottom));
}

float pixelsFrom64ths(long value) {
    return static_cast<float>(value) / 64.0f;
}

} // namespace

bool buildFontRecord(const FaceRaster& raster, int pixelSize, FontRecord& record,
                     std::string& error) {
    const std::size_t printableCount = lastPrintable - firstPrintable + 1;
    if (raster.glyphs.size() != printableCount) {
        error = "expected " + std::to_string(printableCount) + " printable glyphs, got " +
                std::to_string(raster.glyphs.size());
        return false;
    }

    record = FontRecord{};
    record.atlasWidth = FontRecord::atlasSide;
    record.atlasHeight = FontRecord::atlasSide;
    record.atlasDepth = 1;
    record.fontSize = static_cast<float>(pixelSize);
    record.ascender = pixelsFrom64ths(raster.ascender64);
    record.descender = pixelsFrom64ths(raster.descender64);
    record.lineGap = 0.0f;
    // Multiples of 1/64 well inside float precision: this sum is exact.
    record.lineHeight = record.ascender - record.descender + record.lineGap;
    record.glyphCount = static_cast<std::uint32_t>(printableCount + 1);

    AtlasPacker packer(static_cast<int>(FontRecord::atlasSide));
    TexelRect solidBlock;
    if (!packer.place(solidBlockSide, solidBlockSide, solidBlock)) {
        error = "no room for the solid block";
        return false;
    }
    fillSolid(record, solidBlock);
    // The solid glyph spans one texel two in from the block's corner, so
    // linear filtering around its edges still reads only the block.
    Glyph& solid = record.glyphs[0];
    solid.charcode = Glyph::solidCharcode;
    setTexCoords(solid, solidBlock.x + 2, solidBlock.y + 2, solidBlock.x + 3, solidBlock.y + 3);

    for (std::size_t index = 0; index < printableCount; ++index) {
        const GlyphBitmap& bitmap = raster.glyphs[index];
        if (bitmap.charcode != firstPrintable + index) {
            error = "glyph " + std::to_string(index) + " has character " +
                    std::to_string(bitmap.charcode) + " out of order";
            return false;
        }
        TexelRect rect;
        if (!packer.place(bitmap.width, bitmap.height, rect)) {
            error = "the atlas is full at character " + std::to_string(bitmap.charcode);
            return false;
        }
        copyCoverage(record, rect, bitmap);

        Glyph& glyph = record.glyphs[index + 1];
        glyph.charcode = bitmap.charcode;
        glyph.width = bitmap.width;
        glyph.height = bitmap.height;
        glyph.offsetX = bitmap.offsetX;
        glyph.offsetY = bitmap.offsetY;
        glyph.advanceX = pixelsFrom64ths(bitmap.advance64);
        setTexCoords(glyph, rect.x, rect.y, rect.x + rect.width, rect.y + rect.height);
    }
    return true;
}
