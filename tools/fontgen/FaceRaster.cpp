#include "FaceRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <memory>

namespace {

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryHandle = std::unique_ptr<FT_LibraryRec_, LibraryCloser>;
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceCloser>;

// The generated source quotes these strings in comments, so anything but
// plain printable ASCII becomes '?' and a backslash, which could splice the
// next source line into the comment, becomes '/'.
std::string commentSafe(const std::string& text) {
    std::string safe;
    for (const char c : text) {
        if (c == '\\') {
            safe += '/';
        } else if (c >= ' ' && c <= '~') {
            safe += c;
        } else {
            safe += '?';
        }
    }
    return safe;
}

// Returns the face's name-table entry `nameId` as ASCII, or "" when the
// face has none. Macintosh Roman entries are taken as they are; Windows
// entries are UTF-16BE and keep only their low bytes, which is exact for
// the ASCII this is used for.
std::string sfntName(FT_Face face, FT_UShort nameId) {
    std::string fromWindows;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt index = 0; index < count; ++index) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, index, &name) != 0 || name.name_id != nameId) {
            continue;
        }
        if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN) {
            return commentSafe(
                std::string(reinterpret_cast<const char*>(name.string), name.string_len));
        }
        if (name.platform_id == TT_PLATFORM_MICROSOFT && fromWindows.empty()) {
            for (FT_UInt at = 0; at + 1 < name.string_len; at += 2) {
                const bool ascii = name.string[at] == 0;
                fromWindows += ascii ? static_cast<char>(name.string[at + 1]) : '?';
            }
        }
    }
    return commentSafe(fromWindows);
}

bool renderGlyph(FT_Face face, std::uint32_t charcode, GlyphBitmap& glyph, std::string& error) {
    const FT_UInt glyphIndex = FT_Get_Char_Index(face, charcode);
    if (glyphIndex == 0) {
        error = "the face has no glyph for character " + std::to_string(charcode);
        return false;
    }
    if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_HINTING) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        error = "FreeType could not render character " + std::to_string(charcode);
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256) {
        error = "FreeType rendered character " + std::to_string(charcode) +
                " in a pixel mode other than 8-bit grey";
        return false;
    }
    glyph.charcode = charcode;
    glyph.advance64 = slot->advance.x;
    if (bitmap.width == 0 || bitmap.rows == 0) {
        // Nothing to draw: a bearing of an empty image means nothing.
        return true;
    }
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.offsetX = slot->bitmap_left;
    glyph.offsetY = slot->bitmap_top;
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    // A negative pitch means FreeType stored the rows bottom-up; rows are
    // read top row first either way.
    const int pitch = bitmap.pitch;
    const unsigned char* topRow =
        pitch >= 0 ? bitmap.buffer : bitmap.buffer - static_cast<long>(pitch) * (glyph.height - 1);
    for (int row = 0; row < glyph.height; ++row) {
        const unsigned char* source = topRow + static_cast<long>(pitch) * row;
        for (int column = 0; column < glyph.width; ++column) {
            glyph.coverage[static_cast<std::size_t>(row) * glyph.width + column] = source[column];
        }
    }
    return true;
}

} // namespace

bool rasteriseFace(const std::string& fontPath, int pixelSize, FaceRaster& raster,
                   std::string& error) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        error = "FreeType could not be initialised";
        return false;
    }
    const LibraryHandle library(rawLibrary);

    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), fontPath.c_str(), 0, &rawFace) != 0) {
        error = "cannot open " + fontPath + " as a font";
        return false;
    }
    const FaceHandle face(rawFace);
    if (!FT_IS_SCALABLE(face.get())) {
        error = fontPath + " is not a scalable font";
        return false;
    }
    if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        error = "cannot set " + fontPath + " to " + std::to_string(pixelSize) + " pixels";
        return false;
    }

    raster = FaceRaster{};
    raster.familyName = commentSafe(face->family_name != nullptr ? face->family_name : "");
    raster.styleName = commentSafe(face->style_name != nullptr ? face->style_name : "");
    raster.version = sfntName(face.get(), TT_NAME_ID_VERSION_STRING);
    raster.copyright = sfntName(face.get(), TT_NAME_ID_COPYRIGHT);
    // Scaled from design units without rounding to whole pixels, in the same
    // 1/64 pixel steps as the advances.
    const FT_Fixed yScale = face->size->metrics.y_scale;
    raster.ascender64 = FT_MulFix(face->ascender, yScale);
    raster.descender64 = FT_MulFix(face->descender, yScale);

    for (std::uint32_t charcode = firstPrintable; charcode <= lastPrintable; ++charcode) {
        GlyphBitmap glyph;
        if (!renderGlyph(face.get(), charcode, glyph, error)) {
            return false;
        }
        raster.glyphs.push_back(std::move(glyph));
    }
    return true;
}
