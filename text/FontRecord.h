// FontRecord.h - the one font of the show, compiled into the program.
//
// WHAT IT IS
//   A typeface rasterised off-line at 28 pixels (tools/fontgen) into a
//   256x256 single-channel coverage atlas, a few typeface metrics and a
//   table of 96 glyphs: the solid glyph at index 0, then the printable
//   ASCII characters 32 (space) to 126 ('~') at index charcode - 31.
//   There is no rasteriser and no font file at run time; `fontRecord` is
//   defined in FontRecordData.generated.cpp, which the tool writes and which
//   is committed, so building the show needs no FreeType.
//
// THREADS AND LIFETIME
//   Constant static data: never written, never freed. Only the main thread
//   reads it (the text renderer uploads the atlas and looks glyphs up).
//
// LOOK-UP
//   findGlyph() searches glyphs[0 .. glyphCount-1] in order and returns the
//   first glyph whose 32-bit charcode matches, or nullptr when none does
//   (control codes, 127, anything above 126 other than the solid glyph's
//   0xFFFFFFFF). A character without a glyph is meant to draw nothing.
//
// LAYOUT GUARANTEES (checked below at compile time)
//   One contiguous, 4-byte aligned block of 70948 bytes, little-endian 32-bit
//   integers and IEEE single floats, fields at fixed offsets: the record is
//   a file format as much as a C++ type. Glyph is 56 bytes, KerningPair 8.
//
// CONTENT GUARANTEES (checked by FontRecordTest)
//   - Atlas row r is texel row r (t = r/256), glyph images upright, one byte
//     of coverage per texel (0 empty, 255 full).
//   - A solid 4x4 block of 255 sits at texels (1,1)-(4,4); the solid glyph
//     (charcode 0xFFFFFFFF, all sizes and advances 0) samples texel 3 to 4 on
//     both axes, well inside it, so linear filtering reads only 255.
//   - Every glyph rectangle lies inside the atlas and is separated from
//     every other rectangle (the solid block included) by at least one empty
//     texel; row 0, column 0 and every texel outside the rectangles are 0.
//   - Texture coordinates are k/256 rounded to six decimals (exact ties to
//     the even digit) and then converted to float; s1 - s0 spans `width`
//     texels and t1 - t0 spans `height` texels.
//   - advanceX is a multiple of 1/64 pixel; advanceY, kerningCount and the
//     kerning slot are zero; lineHeight == ascender - descender + lineGap.

#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

struct KerningPair {
    std::uint32_t charcode; // the other character of the pair
    float amount;           // pen adjustment in pixels
};

struct Glyph {
    // Character code of the glyph that the solid block answers to.
    static constexpr std::uint32_t solidCharcode = 0xFFFFFFFFu;

    std::uint32_t charcode;
    std::int32_t width;   // bitmap width in texels
    std::int32_t height;  // bitmap height in texels
    std::int32_t offsetX; // pen to the bitmap's left column, may be negative
    std::int32_t offsetY; // baseline up to the bitmap's top row, may be negative
    float advanceX;       // pixels
    float advanceY;
    float s0; // left edge in the atlas, texture coordinate
    float t0; // top edge
    float s1; // right edge
    float t1; // bottom edge
    std::uint32_t kerningCount;
    KerningPair kerning; // the only kerning slot
};

struct FontRecord {
    static constexpr std::uint32_t atlasSide = 256;
    static constexpr std::uint32_t glyphSlots = 96;

    std::uint32_t atlasWidth;
    std::uint32_t atlasHeight;
    std::uint32_t atlasDepth; // bytes per texel
    std::uint8_t atlas[atlasSide * atlasSide];
    float fontSize; // nominal pixel size the face was rasterised at
    float lineHeight;
    float lineGap;
    float ascender;
    float descender; // negative: depth below the baseline
    std::uint32_t glyphCount;
    Glyph glyphs[glyphSlots];
};

static_assert(std::numeric_limits<float>::is_iec559, "the record stores IEEE single floats");

static_assert(sizeof(KerningPair) == 8, "KerningPair layout");
static_assert(offsetof(KerningPair, charcode) == 0, "KerningPair layout");
static_assert(offsetof(KerningPair, amount) == 4, "KerningPair layout");

static_assert(sizeof(Glyph) == 56, "Glyph layout");
static_assert(offsetof(Glyph, charcode) == 0, "Glyph layout");
static_assert(offsetof(Glyph, width) == 4, "Glyph layout");
static_assert(offsetof(Glyph, height) == 8, "Glyph layout");
static_assert(offsetof(Glyph, offsetX) == 12, "Glyph layout");
static_assert(offsetof(Glyph, offsetY) == 16, "Glyph layout");
static_assert(offsetof(Glyph, advanceX) == 20, "Glyph layout");
static_assert(offsetof(Glyph, advanceY) == 24, "Glyph layout");
static_assert(offsetof(Glyph, s0) == 28, "Glyph layout");
static_assert(offsetof(Glyph, t0) == 32, "Glyph layout");
static_assert(offsetof(Glyph, s1) == 36, "Glyph layout");
static_assert(offsetof(Glyph, t1) == 40, "Glyph layout");
static_assert(offsetof(Glyph, kerningCount) == 44, "Glyph layout");
static_assert(offsetof(Glyph, kerning) == 48, "Glyph layout");

static_assert(sizeof(FontRecord) == 70948, "FontRecord layout");
static_assert(alignof(FontRecord) == 4, "FontRecord layout");
static_assert(offsetof(FontRecord, atlasWidth) == 0, "FontRecord layout");
static_assert(offsetof(FontRecord, atlasHeight) == 4, "FontRecord layout");
static_assert(offsetof(FontRecord, atlasDepth) == 8, "FontRecord layout");
static_assert(offsetof(FontRecord, atlas) == 12, "FontRecord layout");
static_assert(offsetof(FontRecord, fontSize) == 65548, "FontRecord layout");
static_assert(offsetof(FontRecord, lineHeight) == 65552, "FontRecord layout");
static_assert(offsetof(FontRecord, lineGap) == 65556, "FontRecord layout");
static_assert(offsetof(FontRecord, ascender) == 65560, "FontRecord layout");
static_assert(offsetof(FontRecord, descender) == 65564, "FontRecord layout");
static_assert(offsetof(FontRecord, glyphCount) == 65568, "FontRecord layout");
static_assert(offsetof(FontRecord, glyphs) == 65572, "FontRecord layout");

// The compiled-in font.
extern const FontRecord fontRecord;

// First glyph of `font` (index 0 upwards, below glyphCount) whose charcode
// equals `charcode`. Returns nullptr when no glyph has that code.
const Glyph* findGlyph(const FontRecord& font, std::uint32_t charcode);
