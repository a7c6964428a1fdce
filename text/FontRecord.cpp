#include "text/FontRecord.h"

const Glyph* findGlyph(const FontRecord& font, std::uint32_t charcode) {
    // A glyph count beyond the table would walk off the record; the table's
    // size is the hard limit whatever the count says.
    const std::uint32_t count =
        font.glyphCount < FontRecord::glyphSlots ? font.glyphCount : FontRecord::glyphSlots;
    for (std::uint32_t index = 0; index < count; ++index) {
        if (font.glyphs[index].charcode == charcode) {
            return &font.glyphs[index];
        }
    }
    return nullptr;
}
