// Rasterises the printable ASCII glyphs of a typeface with FreeType.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GlyphBitmap {
    std::uint32_t charcode = 0;
    int width = 0; // texels; 0 together with height for an empty glyph
    int height = 0;
    int offsetX = 0;                    // pen to left column
    int offsetY = 0;                    // baseline up to top row
    long advance64 = 0;                 // horizontal advance in 1/64 pixel
    std::vector<std::uint8_t> coverage; // width * height bytes, top row first
};

struct FaceRaster {
    std::string familyName;
    std::string styleName;
    std::string version;             // the font's own version string
    std::string copyright;           // the font's own copyright notice
    long ascender64 = 0;             // 1/64 pixel, above the baseline
    long descender64 = 0;            // 1/64 pixel, negative below the baseline
    std::vector<GlyphBitmap> glyphs; // charcodes 32 to 126 in order
};

constexpr std::uint32_t firstPrintable = 32;
constexpr std::uint32_t lastPrintable = 126;

// Opens the scalable face in `fontPath`, sets it to `pixelSize` pixels and
// renders every printable ASCII character into `raster`, unhinted so that
// advances keep their fractions and glyphs keep the designer's shapes.
// Returns false with `error` describing the problem when the file cannot be
// read as a scalable face or a printable character has no glyph in it.
bool rasteriseFace(const std::string& fontPath, int pixelSize, FaceRaster& raster,
                   std::string& error);
